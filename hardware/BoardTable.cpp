#include "BoardTable.h"
#include "ProblemCap.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <istream>
#include <ostream>

namespace sentinax {

namespace {

constexpr std::array<std::string_view, 42> kTraitLists = {
    "NoPowerFan",
    "AltRailScaling",
    "SkinFile",
    "FanSlots",
    "OffsetOrSource",
    "Rails",
    "SamplesPerInterval",
    "CpuTempSlot",
    "CpuTempFloorCheck",
    "ChipSelectorEarly",
    "ChipSelector",
    "HostModeFrontPanel",
    "HostModePanelDisplay",
    "FanCaptions",
    "NoRail33",
    "NoRail12",
    "NoVoltages",
    "NoRail5",
    "NoSysTemp",
    "SysTempNeverFlagged",
    "FanFlagsOff",
    "CpuFanFilter",
    "CpuTempCorrection",
    "TempSourceRule",
    "SystemTempFromChip",
    "SysTempUsesCpuOffset",
    "FiveVoltRule",
    "TwelveVoltRule",
    "FanEmulation",
    "FanWarnTempGate",
    "PowerFanShownNA",
    "PowerFanUnmonitored",
    "CpuFanUnmonitored",
    "SysFanShownZero",
    "AutoHide",
    "ChassisSupported",
    "FrostlineSupported",
    "PanoraSysFanExcluded",
    "CpuTempLimitOverride",
    "CpuFanLimitOverride",
    "SysFanUpperBase",
    "VcoreLowerOverride",
};

struct Token {
    std::string Text;
    bool Quoted = false;
};

// Splits at blanks; a double-quoted part may hold blanks and '#'. A '#' at the
// start of a token starts a comment. False when a quote is not closed.
bool Tokenize(std::string_view line, std::vector<Token>& tokens) {
    tokens.clear();
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        Token t;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            if (line[i] == '"') {
                auto close = line.find('"', i + 1);
                if (close == std::string_view::npos)
                    return false;
                t.Text.append(line.substr(i + 1, close - i - 1));
                t.Quoted = true;
                i = close + 1;
            } else {
                t.Text.push_back(line[i++]);
            }
        }
        tokens.push_back(std::move(t));
    }
    return true;
}

// Reports "file:line: message", the first few of a file only (ProblemCap.h).
struct Reporter {
    std::ostream& Out;
    const std::string& File;
    ProblemCap Cap{File};
    int Count = 0;
    void operator()(int line, const std::string& message) {
        if (Cap.Take())
            Out << File << ':' << line << ": " << message << '\n';
        ++Count;
    }
    ~Reporter() {
        if (const std::string closing = Cap.Closing(); !closing.empty())
            Out << closing << '\n';
    }
};

// Parses "[Name]" or "[Name vendor 0xNNNN]". Returns an error text, empty on success.
std::string ParseHeader(std::string_view line, std::string& name, std::optional<uint32_t>& vendor) {
    if (line.back() != ']')
        return "list header without a closing ']'";
    std::vector<Token> tokens;
    Tokenize(line.substr(1, line.size() - 2), tokens);
    if (tokens.empty())
        return "list header without a name";
    name = tokens[0].Text;
    vendor.reset();
    if (std::find(kTraitLists.begin(), kTraitLists.end(), name) == kTraitLists.end())
        return "unknown list '" + name + "'; its rows are ignored";
    if (tokens.size() == 1)
        return {};
    long long id = 0;
    if (tokens.size() != 3 || tokens[1].Text != "vendor" ||
        !ParseTableInteger(tokens[2].Text, id) || id < 0 || id > 0xFFFFFFFFLL)
        return "list header '" + std::string(line) +
               "' is not [Name] or [Name vendor ID]; its rows are ignored";
    vendor = static_cast<uint32_t>(id);
    return {};
}

// Parses "FIELD=VALUE" into a field and its canonical value text.
std::string ParseFieldValue(const std::string& token, const ProfileField*& field,
                            std::string& canonical, bool allowBare) {
    auto eq = token.find('=');
    std::string name = token.substr(0, eq);
    field = FindProfileField(name);
    if (!field)
        return "unknown field '" + name + "'";
    std::string value;
    if (eq == std::string::npos) {
        if (!allowBare)
            return "field '" + name + "' without '=value'";
        value = "yes";
    } else {
        value = token.substr(eq + 1);
    }
    BoardProfile scratch;
    if (!field->Set(scratch, value))
        return "'" + value + "' is not a valid value of " + name;
    canonical = field->Get(scratch);
    return {};
}

std::string ParseCondition(const std::vector<Token>& tokens, BoardCondition& cond) {
    if (tokens.empty())
        return "row without a condition before '=>'";
    const std::string& kind = tokens[0].Text;
    if (kind == "board" && !tokens[0].Quoted) {
        if (tokens.size() < 2)
            return "'board' without a code";
        cond.ConditionKind = BoardCondition::Kind::Board;
        cond.Code = tokens[1].Text;
        // An empty code would be found in every product string.
        if (cond.Code.empty())
            return "empty board code";
        if (tokens.size() == 2)
            return {};
        if (tokens.size() != 5 || tokens[2].Text != "version")
            return "expected 'version contains TEXT' or 'version lacks TEXT' after the code";
        if (tokens[3].Text == "contains")
            cond.VersionTest = VersionTestKind::Contains;
        else if (tokens[3].Text == "lacks")
            cond.VersionTest = VersionTestKind::Lacks;
        else
            return "version test '" + tokens[3].Text + "' is not 'contains' or 'lacks'";
        cond.VersionText = tokens[4].Text;
        if (cond.VersionText.empty())
            return "empty version text";
        return {};
    }
    if (kind == "when" && !tokens[0].Quoted) {
        if (tokens.size() != 2)
            return "'when' takes one FIELD or FIELD=VALUE";
        cond.ConditionKind = BoardCondition::Kind::Profile;
        return ParseFieldValue(tokens[1].Text, cond.Field, cond.Value, true);
    }
    return "a row starts with 'board CODE' or 'when FIELD[=VALUE]', not '" + kind + "'";
}

std::string ParseRow(const std::vector<Token>& tokens, const std::string& source, BoardRow& row) {
    auto arrow = std::find_if(tokens.begin(), tokens.end(),
                              [](const Token& t) { return !t.Quoted && t.Text == "=>"; });
    if (arrow == tokens.end())
        return "row without '=>'";
    std::vector<Token> left(tokens.begin(), arrow);
    if (auto e = ParseCondition(left, row.Condition); !e.empty())
        return e;
    for (auto it = arrow + 1; it != tokens.end(); ++it) {
        BoardAssignment a;
        if (auto e = ParseFieldValue(it->Text, a.Field, a.Value, false); !e.empty())
            return e;
        row.Assignments.push_back(std::move(a));
    }
    if (row.Assignments.empty())
        return "row without any FIELD=VALUE after '=>'";
    row.Source = source;
    return {};
}

const std::vector<BoardRow> kNoRows;

} // namespace

std::span<const std::string_view> TraitListNames() {
    return kTraitLists;
}

void BoardTable::AddRow(std::string_view list, std::optional<uint32_t> vendor, BoardRow row) {
    lists_[Key{std::string(list), vendor ? int64_t(*vendor) : -1}].push_back(std::move(row));
}

void BoardTable::PrependRows(const BoardTable& first) {
    for (const auto& [key, rows] : first.lists_) {
        auto& mine = lists_[key];
        mine.insert(mine.begin(), rows.begin(), rows.end());
    }
}

const std::vector<BoardRow>& BoardTable::Rows(std::string_view list, uint32_t vendor) const {
    auto it = lists_.find(Key{std::string(list), int64_t(vendor)});
    if (it != lists_.end())
        return it->second;
    return ExactRows(list, std::nullopt);
}

const std::vector<BoardRow>& BoardTable::ExactRows(std::string_view list,
                                                   std::optional<uint32_t> vendor) const {
    auto it = lists_.find(Key{std::string(list), vendor ? int64_t(*vendor) : -1});
    return it != lists_.end() ? it->second : kNoRows;
}

size_t BoardTable::RowCount() const {
    size_t n = 0;
    for (const auto& [key, rows] : lists_)
        n += rows.size();
    return n;
}

int ParseBoardTable(std::istream& in, const std::string& fileName, BoardTable& table,
                    std::ostream& errors) {
    Reporter report{errors, fileName};
    std::string line;
    std::vector<Token> tokens;
    int lineNo = 0;
    bool inList = false;    // a header has been seen
    bool listValid = false; // the current header is usable
    std::string list;
    std::optional<uint32_t> vendor;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::string_view text(line);
        text.remove_prefix(first);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        if (text.front() == '[') {
            inList = true;
            auto e = ParseHeader(text, list, vendor);
            listValid = e.empty();
            if (!listValid)
                report(lineNo, e);
            continue;
        }
        if (!Tokenize(text, tokens)) {
            report(lineNo, "unclosed '\"'; row ignored");
            continue;
        }
        if (tokens.empty())
            continue;
        if (!inList) {
            report(lineNo, "row before the first [list] header; row ignored");
            continue;
        }
        if (!listValid)
            continue; // reported once at its header
        BoardRow row;
        auto e = ParseRow(tokens, fileName + ":" + std::to_string(lineNo), row);
        if (!e.empty()) {
            report(lineNo, e + "; row ignored");
            continue;
        }
        table.AddRow(list, vendor, std::move(row));
    }
    return report.Count;
}

} // namespace sentinax
