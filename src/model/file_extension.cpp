#include "model/file_extension.h"

#include <algorithm>
#include <cctype>

namespace tav {

std::string withFileExtension(std::string_view chosen, std::string_view extension) {
  const auto sameLetter = [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
  };
  const bool present = chosen.size() >= extension.size() &&
                       std::equal(extension.begin(), extension.end(),
                                  chosen.end() - static_cast<long>(extension.size()), sameLetter);
  std::string name(chosen);
  if (!present) name += extension;
  return name;
}

}  // namespace tav
