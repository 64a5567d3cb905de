# Writes a C++ source that holds the bytes of INPUT and returns them from
# tav::FUNCTION() as a span. Run with cmake -P.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the array into lines of 16 bytes.
string(REGEX REPLACE "((0x..,){16})" "\\1\n  " bytes "${bytes}")
if(size EQUAL 0)
  set(bytes "0")
endif()
file(WRITE ${OUTPUT}
"// Generated from ${INPUT}; do not edit.
#include <cstddef>
#include <cstdint>
#include <span>

namespace tav {

namespace {
const std::uint8_t kBytes[] = {
  ${bytes}
};
constexpr std::size_t kSize = ${size};
}  // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return {kBytes, kSize}; }

}  // namespace tav
")
