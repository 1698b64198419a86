// talwyn-skingen: draws the program's skin set.
//   talwyn-skingen OUTPUT_FOLDER [--contact-sheet OUT.png]
//   talwyn-skingen --contact-sheet OUT.png

#include "skin_set.h"
#include "theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: talwyn-skingen [OUTPUT_FOLDER] [--contact-sheet OUT.png]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string folder;
    std::string contactSheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            contactSheet = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && folder.empty()) {
            folder = arg;
        } else {
            return usage();
        }
    }
    if (folder.empty() && contactSheet.empty()) {
        return usage();
    }

    // Drawing needs no display: the build runs this on machines without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!QFontDatabase::families().contains(skingen::theme::kFontFamily)) {
        std::fprintf(stderr,
                     "talwyn-skingen: font \"%s\" is not installed; text falls back to the default font\n",
                     qPrintable(skingen::theme::kFontFamily));
    }

    if (!folder.empty()) {
        if (const auto error = skingen::writeSkinSet(folder); !error.empty()) {
            std::fprintf(stderr, "talwyn-skingen: %s\n", error.c_str());
            return 1;
        }
    }
    if (!contactSheet.empty()) {
        if (const auto error = skingen::saveImage(skingen::renderContactSheet(), contactSheet,
                                                  talwyn::ui_layout::SkinFormat::Png);
            !error.empty()) {
            std::fprintf(stderr, "talwyn-skingen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
