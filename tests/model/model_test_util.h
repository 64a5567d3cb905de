// The model builders now live in tests/support.
#pragma once

#include "support/model_builders.h"
