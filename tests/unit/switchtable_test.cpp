// The switch table: the parser finds each switch by it, and the help, both man pages and the help page name each one.
#include "core/switchtable.h"

#include "core/commandline.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

std::string fileText(const std::string& relativePath)
{
    std::ifstream stream(std::string(STAMPKEEP_SOURCE_DIR) + "/" + relativePath);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

// The text as a reader sees it: man-page font changes and escaped hyphens gone, ranges such as `/R0..R3` and
// `/1 .. /5` written out switch by switch.
std::string plainText(std::string text)
{
    text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    std::smatch range;
    const std::regex rangePattern(R"(/([A-Z]?)(\d) *\.\. *(?:/|\\fB)?\1?(\d))");
    while (std::regex_search(text, range, rangePattern)) {
        std::string written;
        for (char digit = range[2].str()[0]; digit <= range[3].str()[0]; ++digit)
            written += " /" + range[1].str() + digit;
        text.replace(static_cast<std::size_t>(range.position(0)), static_cast<std::size_t>(range.length(0)), written);
    }
    return text;
}

bool names(const std::string& text, std::string_view switchName)
{
    const std::string escaped = std::regex_replace(std::string(switchName), std::regex(R"([+:])"), R"(\$&)");
    // A value switch is followed by its value; any other by something that is not part of a longer switch.
    const std::string end = switchName.ends_with(':') ? "" : "(?![A-Za-z0-9])";
    return std::regex_search(text, std::regex("/" + escaped + end));
}

TEST(SwitchTable, EverySwitchIsFoundAndDocumented)
{
    std::ostringstream help;
    ShowSwitchHelp(true, help);
    const std::pair<std::string, std::string> documents[] = {
        {"--help", plainText(help.str())},
        {"stkcli.1", plainText(fileText("console/stkcli.1"))},
        {"stampkeep.1", plainText(fileText("window/stampkeep.1"))},
        {"stampkeep.html", plainText(fileText("resources/stampkeep.html"))},
    };
    std::size_t count = 0;
    for (const SwitchGroup& group : switchGroups()) {
        for (const SwitchDefinition& definition : group.switches) {
            ++count;
            EXPECT_EQ(findSwitch(std::string(definition.name) + (definition.name.ends_with(':') ? "1" : "")),
                      &definition);
            for (const auto& [document, text] : documents)
                EXPECT_TRUE(names(text, definition.name)) << "/" << definition.name << " is missing in " << document;
        }
    }
    EXPECT_EQ(count, 32u);
    for (const auto& [document, text] : documents)
        EXPECT_NE(text.find("--"), std::string::npos) << document;
}

} // namespace
