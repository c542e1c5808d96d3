// Scratch directories and whole-file helpers for the tests.
#include "support/TestUtil.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testutil {

// A new directory under a random name: create_directory says false when the name is taken.
ScratchDir::ScratchDir() {
  std::random_device seed;
  std::mt19937_64 draw(seed());
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        temp / ("morvit-test-" + std::to_string(draw() % 1000000000));
    if (std::filesystem::create_directory(candidate)) {
      m_path = candidate.generic_string();
      return;
    }
  }
  throw std::runtime_error("no scratch directory could be made");
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace testutil
