// Replays a fuzz corpus through LLVMFuzzerTestOneInput without libFuzzer, so every build checks
// that the saved inputs still decode (or are refused) without a crash. Arguments are files or
// folders of files.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static int replayFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Copy into an exact-size heap buffer so the sanitizers catch any read past the end.
  std::vector<uint8_t> exact(bytes.begin(), bytes.end());
  uint8_t* data = exact.empty() ? nullptr : exact.data();
  LLVMFuzzerTestOneInput(data, exact.size());
  return 1;
}

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
        if (entry.is_regular_file()) count += replayFile(entry.path());
    } else {
      count += replayFile(arg);
    }
  }
  std::printf("replayed %d inputs\n", count);
  return count > 0 ? 0 : 1;
}
