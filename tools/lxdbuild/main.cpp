// lxdbuild: writes a published dictionary module from FreeDict databases, or prints one.
// A dictionary too large for one module becomes several of the same pair, OUT-1.lxd,
// OUT-2.lxd, ... (see buildModule).
//
//   lxdbuild build -o OUT.lxd [--priority N] [--product N] [--module-version N]
//                  [--sparse N] [--no-pronunciations] [--no-notes] [--no-explanations]
//                  [--verbs MODULE.lxc]...
//                  /usr/share/dictd/freedict-eng-fra [/usr/share/dictd/freedict-fra-eng]
//   lxdbuild inspect [--terms N] MODULE.lxd
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "builder.h"
#include "format/lxcompressor.h"
#include "model/lxtokenizer.h"

namespace {

int usage()
{
    std::cerr << "usage: lxdbuild build -o OUT.lxd [--priority N] [--product N] [--module-version N] [--sparse N]"
                 "\n                      [--no-pronunciations] [--no-notes] [--no-explanations] [--verbs MODULE.lxc]..."
                 " FREEDICT-BASE [FREEDICT-BASE]\n"
                 "       lxdbuild inspect [--terms N] MODULE.lxd\n";
    return 2;
}

bool number(const char *text, uint32_t &value)
{
    char *end = nullptr;
    unsigned long v = std::strtoul(text, &end, 10);
    if (!*text || *end || v > 0xFFFFFFFFul)
        return false;
    value = static_cast<uint32_t>(v);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    std::unique_ptr<LXCompressor> compressor(LXCompressor::create());
    std::unique_ptr<LXTokenizer> tokenizer(LXTokenizer::create());
    if (!compressor || !tokenizer) {
        std::cerr << "lxdbuild: out of memory\n";
        return 1;
    }
    std::string command = argv[1];
    if (command == "build") {
        BuildOptions o;
        for (int i = 2; i < argc; ++i) {
            std::string a = argv[i];
            uint32_t *target = a == "--priority" ? &o.priority
                               : a == "--product" ? &o.product
                               : a == "--module-version" ? &o.moduleVersion
                               : a == "--sparse" ? &o.sparseInterval
                               : nullptr;
            if (target) {
                if (i + 1 >= argc || !number(argv[++i], *target))
                    return usage();
            } else if (a == "--no-pronunciations") {
                o.pronunciations = false;
            } else if (a == "--no-notes") {
                o.notes = false;
            } else if (a == "--no-explanations") {
                o.explanations = false;
            } else if (a == "--verbs") {
                if (i + 1 >= argc)
                    return usage();
                o.verbModules.push_back(argv[++i]);
            } else if (a == "-o") {
                if (i + 1 >= argc)
                    return usage();
                o.output = argv[++i];
            } else if (!a.empty() && a[0] == '-') {
                return usage();
            } else {
                o.sources.push_back(a);
            }
        }
        if (o.output.empty() || o.sources.empty() || o.product > 255 || o.sparseInterval == 0)
            return usage();
        auto t0 = std::chrono::steady_clock::now();
        BuildReport r;
        std::string error;
        if (!buildModule(o, compressor.get(), tokenizer.get(), r, error)) {
            std::cerr << "lxdbuild: " << error << "\n";
            return 1;
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        for (size_t m = 0; m < r.modules.size(); ++m)
            std::cout << (m ? ", " : "") << r.modules[m];
        std::cout << ": " << r.articles[0] << " + " << r.articles[1] << " articles, " << r.terms[0]
                  << " + " << r.terms[1] << " terms, " << r.headwords[0] << " + " << r.headwords[1]
                  << " headword records, " << r.partsOfSpeech << " parts of speech, " << seconds << " s\n";
        return 0;
    }
    if (command == "inspect") {
        long terms = 20;
        std::string path;
        for (int i = 2; i < argc; ++i) {
            std::string a = argv[i];
            if (a == "--terms" && i + 1 < argc) {
                terms = std::strtol(argv[++i], nullptr, 10);
            } else if (!a.empty() && a[0] == '-') {
                return usage();
            } else {
                path = a;
            }
        }
        if (path.empty())
            return usage();
        std::string error;
        if (!inspectModule(path, compressor.get(), tokenizer.get(), terms, std::cout, error)) {
            std::cerr << "lxdbuild: " << error << "\n";
            return 1;
        }
        return 0;
    }
    return usage();
}
