// The instruction copier against an independent decoder: the binutils disassembler's
// listing of i686 code that the cross compiler made from some of our own sources. Every
// instruction of the listing must measure the same length, and every relative call or jump
// must report the target the disassembler prints.
#include "instruction_copier.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#ifdef WORDMERE_COPIER_SAMPLES

namespace {

struct Listed {
    uint32_t address;
    std::vector<uint8_t> bytes;
    std::string text;
};

struct Section {
    std::string name;
    std::vector<Listed> code;
};

std::vector<std::string> split(const std::string &s, char c)
{
    std::vector<std::string> parts;
    std::stringstream in(s);
    std::string part;
    while (std::getline(in, part, c)) {
        parts.push_back(part);
    }
    return parts;
}

std::vector<Section> disassemble(const std::string &object)
{
    std::string command = std::string(WORDMERE_OBJDUMP) + " -d --insn-width=16 '" + object + "'";
    FILE *pipe = popen(command.c_str(), "r");
    std::vector<Section> sections;
    if (!pipe) {
        return sections;
    }
    char line[1024];
    while (fgets(line, sizeof line, pipe)) {
        std::string s(line);
        if (s.rfind("Disassembly of section ", 0) == 0) {
            Section section;
            section.name = s.substr(23);
            sections.push_back(section);
            continue;
        }
        std::vector<std::string> fields = split(s, '\t');
        if (sections.empty() || fields.size() < 3 || fields[0].empty() || fields[0].back() != ':') {
            continue;
        }
        Listed l;
        l.address = static_cast<uint32_t>(std::strtoul(fields[0].c_str(), nullptr, 16));
        std::stringstream hexBytes(fields[1]);
        std::string b;
        while (hexBytes >> b) {
            l.bytes.push_back(static_cast<uint8_t>(std::strtoul(b.c_str(), nullptr, 16)));
        }
        l.text = fields[2];
        while (!l.text.empty() && (l.text.back() == '\n' || l.text.back() == ' ')) {
            l.text.pop_back();
        }
        sections.back().code.push_back(l);
    }
    pclose(pipe);
    return sections;
}

// The target the disassembler prints for a relative call or jump, or false.
bool listedTarget(const std::string &text, uint32_t &target)
{
    std::stringstream in(text);
    std::string mnemonic, operand, symbol;
    in >> mnemonic >> operand >> symbol;
    bool branch = mnemonic[0] == 'j' || mnemonic.rfind("call", 0) == 0 || mnemonic.rfind("loop", 0) == 0;
    if (!branch || operand.empty() || operand[0] == '*' || operand[0] == '$' || symbol.empty() || symbol[0] != '<') {
        return false;
    }
    target = static_cast<uint32_t>(std::strtoul(operand.c_str(), nullptr, 16));
    return true;
}

TEST(CopierOracle, LengthsAndTargetsAgreeWithTheDisassembler)
{
    std::vector<std::string> objects = split(WORDMERE_COPIER_SAMPLES, '|');
    ASSERT_FALSE(objects.empty());
    size_t instructions = 0, branches = 0;
    for (const std::string &object : objects) {
        std::vector<Section> sections = disassemble(object);
        ASSERT_FALSE(sections.empty()) << "no listing of " << object;
        for (const Section &section : sections) {
            // The section's bytes in one run, so each instruction is measured with what follows it.
            std::vector<uint8_t> bytes;
            for (const Listed &l : section.code) {
                ASSERT_EQ(l.address, bytes.size()) << object << " " << section.name;
                bytes.insert(bytes.end(), l.bytes.begin(), l.bytes.end());
            }
            for (const Listed &l : section.code) {
                if (l.text.find("(bad)") != std::string::npos) {
                    continue;
                }
                CopiedInstruction c = copyInstruction(nullptr, 0, bytes.data() + l.address, bytes.size() - l.address,
                                                      l.address);
                ++instructions;
                ASSERT_TRUE(c.ok()) << object << " " << std::hex << l.address << ": " << l.text;
                ASSERT_EQ(c.length, l.bytes.size()) << object << " " << std::hex << l.address << ": " << l.text;
                uint32_t target = 0;
                if (listedTarget(l.text, target)) {
                    ++branches;
                    EXPECT_TRUE(c.hasTarget) << object << " " << std::hex << l.address << ": " << l.text;
                    EXPECT_EQ(c.target, target) << object << " " << std::hex << l.address << ": " << l.text;
                }
            }
        }
    }
    EXPECT_GT(instructions, 5000u);
    EXPECT_GT(branches, 500u);
    std::printf("checked %zu instructions, %zu relative branches\n", instructions, branches);
}

}  // namespace

#endif
