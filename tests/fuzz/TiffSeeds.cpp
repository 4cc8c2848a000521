// Writes every TIFF layout of the texture tests, those the loader decodes and those it refuses,
// into a folder: the seeds of fuzz_tiff. Usage: tiff_seeds FOLDER
#include <cstdio>

#include "TiffLayouts.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    for (const std::vector<TiffLayout>* list : {&kTiffLayouts, &kRefusedTiffLayouts}) {
        for (const TiffLayout& layout : *list) {
            if (WriteTiffLayoutFile(argv[1], layout).empty()) {
                std::fprintf(stderr, "cannot write %s/%s.tif\n", argv[1], layout.name);
                return 1;
            }
        }
    }
    return 0;
}
