// Stands in for libFuzzer in the normal build: runs a fuzz target over every file named on the
// command line or found in a folder named there (sorted, dot files skipped), so the seeds and the
// inputs of past findings are replayed by the tests. Each input runs twice, as libFuzzer runs it,
// so that state one run leaves behind for the next (a cache keyed on freed bytes) is exercised. A finding aborts the
// process; the last input printed is the one to blame.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(int argc, char **argv)
{
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        if (!fs::is_directory(arg)) {
            inputs.push_back(arg);
            continue;
        }
        std::vector<fs::path> files;
        for (const fs::directory_entry &entry : fs::directory_iterator(arg))
            if (entry.is_regular_file() && entry.path().filename().native()[0] != '.')
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        inputs.insert(inputs.end(), files.begin(), files.end());
    }
    return inputs;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    const std::vector<fs::path> inputs = Inputs(argc, argv);
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    for (const fs::path &path : inputs) {
        std::printf("%s", path.c_str());
        std::fflush(stdout);
        // Exactly the file's bytes on the heap, so that a read past the end is caught by ASan.
        std::error_code error;
        const auto size = fs::file_size(path, error);
        std::vector<std::uint8_t> bytes(error ? 0 : size);
        std::ifstream in(path, std::ios::binary);
        if (error || !in.read(reinterpret_cast<char *>(bytes.data()), std::streamsize(bytes.size()))) {
            std::printf(": cannot be read\n");
            return 1;
        }
        const auto start = std::chrono::steady_clock::now();
        for (int run = 0; run < 2; ++run) {
            // A fresh copy each time: the previous run's bytes are freed, as a caller's would be.
            const std::vector<std::uint8_t> copy(bytes);
            LLVMFuzzerTestOneInput(copy.data(), copy.size());
        }
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        std::printf(" (%zu bytes, %lld ms)\n", bytes.size(), static_cast<long long>(ms));
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
