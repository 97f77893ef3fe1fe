#include "apertium.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#ifndef _WIN32
#include <unistd.h>
#endif

bool ParadigmEntry::hasTags(const std::vector<std::string> &wanted) const
{
    for (const std::string &w : wanted) {
        if (std::find(tags.begin(), tags.end(), w) == tags.end())
            return false;
    }
    return true;
}

bool parseParadigmLine(const std::string &line, ParadigmEntry &entry)
{
    entry = ParadigmEntry();
    enum { Lemma, Tag, AfterTags, Form } part = Lemma;
    std::string tag;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        bool escaped = c == '\\' && i + 1 < line.size();
        if (escaped)
            c = line[++i];
        switch (part) {
        case Lemma:
            if (!escaped && c == '<')
                part = Tag;
            else if (!escaped && c == ':')
                return false;       // a form without tags
            else
                entry.lemma += c;
            break;
        case Tag:
            if (!escaped && c == '>') {
                if (tag.empty())
                    return false;
                entry.tags.push_back(tag);
                tag.clear();
                part = AfterTags;
            } else {
                tag += c;
            }
            break;
        case AfterTags:
            if (!escaped && c == '<')
                part = Tag;
            else if (!escaped && c == ':')
                part = Form;
            else
                return false;
            break;
        case Form:
            entry.form += c;
            break;
        }
    }
    return part == Form && !entry.lemma.empty() && !entry.form.empty();
}

bool listParadigms(const std::string &transducer, bool analyser, const std::vector<std::string> &patterns,
                   std::vector<ParadigmEntry> &entries, std::string &error)
{
#ifdef _WIN32
    (void)transducer;
    (void)analyser;
    (void)patterns;
    (void)entries;
    error = "lt-paradigm runs on the build machine only";
    return false;
#else
    if (!std::ifstream(transducer)) {
        error = "cannot read the transducer " + transducer + " (is its apertium package installed?)";
        return false;
    }
    char name[] = "/tmp/lxcbuild-patterns-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) {
        error = "cannot write a pattern file";
        return false;
    }
    close(fd);
    {
        std::ofstream out(name);
        for (const std::string &p : patterns)
            out << p << "\n";
    }
    std::string command = std::string("lt-paradigm ") + (analyser ? "-a " : "") + "'" + transducer + "' '" +
                          name + "' 2>&1";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        std::remove(name);
        error = "cannot run lt-paradigm";
        return false;
    }
    std::string pending, bad;
    char buffer[65536];
    size_t n;
    auto take = [&](const std::string &line) {
        if (line.empty())
            return;
        ParadigmEntry entry;
        if (parseParadigmLine(line, entry))
            entries.push_back(entry);
        else if (bad.empty())
            bad = line;
    };
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        pending.append(buffer, n);
        size_t start = 0, end;
        while ((end = pending.find('\n', start)) != std::string::npos) {
            take(pending.substr(start, end - start));
            start = end + 1;
        }
        pending.erase(0, start);
    }
    take(pending);
    int status = pclose(pipe);
    std::remove(name);
    if (status != 0) {
        error = "lt-paradigm failed on " + transducer + (bad.empty() ? "" : ": " + bad) +
                " (is lttoolbox-dev installed?)";
        return false;
    }
    if (!bad.empty()) {
        error = "lt-paradigm printed a line that is not lemma<tags>:form: " + bad;
        return false;
    }
    return true;
#endif
}

std::map<std::string, std::vector<ParadigmEntry>> groupByLemma(const std::vector<ParadigmEntry> &entries)
{
    std::map<std::string, std::vector<ParadigmEntry>> out;
    for (const ParadigmEntry &e : entries)
        out[e.lemma].push_back(e);
    return out;
}
