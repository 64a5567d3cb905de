# Taviron: every target installs what is missing, configures and builds first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
EXAMPLE ?= data/examples/example.TPR
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench fuzz asan-test examples clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) --timeout 600

run: build
	@if [ -x $(BUILD_DIR)/app/taviron ]; then \
	  $(BUILD_DIR)/app/taviron $(EXAMPLE); \
	else \
	  $(BUILD_DIR)/app/taviron-cli info $(EXAMPLE); \
	fi

# Regenerates the example data in data/examples/ with the generators in tools/.
examples: build
	@bash scripts/make-examples.sh $(BUILD_DIR)

bench: deps
	@cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVIRON_BUILD_BENCH=ON -DTAVIRON_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

asan-test: deps
	@cmake -S . -B $(BUILD_DIR)-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIRON_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_DIR)-asan -j $(JOBS)
	@cd $(BUILD_DIR)-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench $(BUILD_DIR)-asan
