// Replays a fuzz target's corpus through the entry point libFuzzer calls: every file of the
// folders given (and files given by name), in name order. Status 1 when there is nothing to
// replay, so that a corpus lost on the way fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> archivos;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const auto& e : fs::directory_iterator(p))
                if (e.is_regular_file())
                    archivos.push_back(e.path());
        } else if (fs::is_regular_file(p)) {
            archivos.push_back(p);
        }
    }
    std::sort(archivos.begin(), archivos.end());
    for (const auto& a : archivos) {
        std::fprintf(stderr, "%s\n", a.c_str());
        std::ifstream f(a, std::ios::binary);
        const std::vector<char> datos{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(datos.data()), datos.size());
    }
    std::printf("%zu entradas repetidas\n", archivos.size());
    return archivos.empty() ? 1 : 0;
}
