#include "BoardTable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <istream>
#include <ostream>

namespace sentinax {

namespace {

constexpr int kRawValueSlots = 30; // RawValues entries a slot field may name
constexpr int kChipParamBytes = 8; // ChipParams bytes CpuTempSlot may name

bool ParseInt(std::string_view text, long long& out) {
    if (text.empty())
        return false;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    out = negative ? -value : value;
    return true;
}

template <typename T>
ProfileField IntField(std::string name, T BoardProfile::*member, long long low, long long high) {
    return {std::move(name),
            [member, low, high](BoardProfile& p, std::string_view text) {
                long long v = 0;
                if (!ParseInt(text, v) || v < low || v > high)
                    return false;
                p.*member = static_cast<T>(v);
                return true;
            },
            [member](const BoardProfile& p) {
                return std::to_string(static_cast<long long>(p.*member));
            }};
}

// The host modes the program knows: none, front panel, panel display.
ProfileField HostModeField() {
    return {"HostMode",
            [](BoardProfile& p, std::string_view text) {
                long long v = 0;
                if (!ParseInt(text, v) || (v != 0 && v != 2 && v != 3))
                    return false;
                p.HostMode = static_cast<int>(v);
                return true;
            },
            [](const BoardProfile& p) { return std::to_string(p.HostMode); }};
}

ProfileField BoolField(std::string name, bool BoardProfile::*member) {
    return {std::move(name),
            [member](BoardProfile& p, std::string_view text) {
                if (text == "yes" || text == "1") {
                    p.*member = true;
                    return true;
                }
                if (text == "no" || text == "0") {
                    p.*member = false;
                    return true;
                }
                return false;
            },
            [member](const BoardProfile& p) { return std::string(p.*member ? "yes" : "no"); }};
}

template <typename E, size_t N>
ProfileField EnumField(std::string name, E BoardProfile::*member,
                       std::array<std::string_view, N> names) {
    return {std::move(name),
            [member, names](BoardProfile& p, std::string_view text) {
                for (size_t i = 0; i < N; ++i) {
                    if (names[i] == text) {
                        p.*member = static_cast<E>(i);
                        return true;
                    }
                }
                return false;
            },
            [member, names](const BoardProfile& p) {
                auto i = static_cast<size_t>(p.*member);
                return i < N ? std::string(names[i]) : std::to_string(i);
            }};
}

// A skin file is named relative to the working folder and stays inside it: an
// absolute path or a ".." step would let a table row point the monitor at
// any file, which it would then read and save settings into.
ProfileField SkinFileField(std::string name, std::string BoardProfile::*member) {
    return {std::move(name),
            [member](BoardProfile& p, std::string_view text) {
                if (text.empty() || text.front() == '/')
                    return false;
                size_t start = 0;
                while (start <= text.size()) {
                    size_t end = text.find('/', start);
                    if (end == std::string_view::npos)
                        end = text.size();
                    if (text.substr(start, end - start) == "..")
                        return false;
                    start = end + 1;
                }
                p.*member = std::string(text);
                return true;
            },
            [member](const BoardProfile& p) { return p.*member; }};
}

ProfileField CaptionField(int index) {
    return {"FanCaption" + std::to_string(index + 1),
            [index](BoardProfile& p, std::string_view text) {
                p.FanCaptions[index] = std::string(text);
                return true;
            },
            [index](const BoardProfile& p) { return p.FanCaptions[index]; }};
}

// "none", or "position/value" with the adjuster position 0..100.
ProfileField LimitField(std::string name, std::optional<LimitOverride> BoardProfile::*member) {
    return {std::move(name),
            [member](BoardProfile& p, std::string_view text) {
                if (text == "none") {
                    (p.*member).reset();
                    return true;
                }
                auto slash = text.find('/');
                long long position = 0, value = 0;
                if (slash == std::string_view::npos || !ParseInt(text.substr(0, slash), position) ||
                    !ParseInt(text.substr(slash + 1), value) || position < 0 || position > 100 ||
                    value < INT32_MIN || value > INT32_MAX)
                    return false;
                p.*member = LimitOverride{static_cast<int>(position), static_cast<int32_t>(value)};
                return true;
            },
            [member](const BoardProfile& p) {
                const auto& o = p.*member;
                return o ? std::to_string(o->Position) + "/" + std::to_string(o->Value)
                         : std::string("none");
            }};
}

std::vector<ProfileField> MakeFields() {
    using P = BoardProfile;
    const int lastSlot = kRawValueSlots - 1;
    std::vector<ProfileField> f;
    f.push_back(BoolField("NoPowerFan", &P::NoPowerFan));
    f.push_back(BoolField("AltRailScaling", &P::AltRailScaling));
    f.push_back(SkinFileField("SkinFile", &P::SkinFile));
    f.push_back(IntField("CpuFanSlot", &P::CpuFanSlot, 0, lastSlot));
    f.push_back(IntField("SysFanSlot", &P::SysFanSlot, 0, lastSlot));
    f.push_back(IntField("PowerFanSlot", &P::PowerFanSlot, 0, lastSlot));
    f.push_back(IntField("CpuTempOffset", &P::CpuTempOffset, -255, 255));
    f.push_back(EnumField("SensorSource", &P::SensorSource,
                          std::array<std::string_view, 2>{"Library", "EmbeddedController"}));
    f.push_back(IntField("V12Slot", &P::V12Slot, 0, lastSlot));
    f.push_back(IntField("V33Slot", &P::V33Slot, 0, lastSlot));
    // The sampling period divides by it, and the fan window has this many entries.
    f.push_back(IntField("SamplesPerInterval", &P::SamplesPerInterval, 1, 100));
    f.push_back(IntField("CpuTempSlot", &P::CpuTempSlot, 0, kChipParamBytes - 1));
    f.push_back(BoolField("CpuTempFloorCheck", &P::CpuTempFloorCheck));
    f.push_back(IntField("ChipSelector", &P::ChipSelector, 0, 255));
    f.push_back(HostModeField());
    f.push_back(IntField("TwelveVoltOffset", &P::TwelveVoltOffset, -20000, 20000));
    f.push_back(IntField("ChipCommand", &P::ChipCommand, 0, 255));
    for (int i = 0; i < 3; ++i)
        f.push_back(CaptionField(i));
    f.push_back(BoolField("NoRail33", &P::NoRail33));
    f.push_back(BoolField("NoRail12", &P::NoRail12));
    f.push_back(BoolField("NoVoltages", &P::NoVoltages));
    f.push_back(BoolField("NoRail5", &P::NoRail5));
    f.push_back(BoolField("NoSysTemp", &P::NoSysTemp));
    f.push_back(BoolField("SysTempNeverFlagged", &P::SysTempNeverFlagged));
    f.push_back(BoolField("FanFlagsOff", &P::FanFlagsOff));
    f.push_back(EnumField("CpuFanFilter", &P::CpuFanFilter,
                          std::array<std::string_view, 2>{"Average", "WindowMinAverage"}));
    f.push_back(IntField("CpuTempCorrection", &P::CpuTempCorrection, -100, 100));
    f.push_back(EnumField("TempSourceRule", &P::TempSourceRule,
                          std::array<std::string_view, 4>{"Direct", "SwapWithSystem",
                                                          "SecondByteAsCpu", "FromRawSlots"}));
    f.push_back(BoolField("SystemTempFromChip", &P::SystemTempFromChip));
    f.push_back(BoolField("SysTempUsesCpuOffset", &P::SysTempUsesCpuOffset));
    f.push_back(EnumField(
        "FiveVoltRule", &P::FiveVoltRule,
        std::array<std::string_view, 9>{"AsRead", "CopySlot4", "Slot4Times1_5", "Slot5Times1_6",
                                        "Slot5Times1_5", "Slot6Times1_61", "Slot3Times1_6",
                                        "Slot3Times1_5", "Slot1DoubledTimes1_61"}));
    f.push_back(EnumField("TwelveVoltRule", &P::TwelveVoltRule,
                          std::array<std::string_view, 5>{"Times12Then20_63", "Times6_6",
                                                          "Times24Then0_3125", "Times12Then0_3125",
                                                          "Times24Then20_63"}));
    f.push_back(EnumField("FanEmulation", &P::FanEmulation,
                          std::array<std::string_view, 3>{"None", "Jitter", "BandedJitter"}));
    f.push_back(EnumField("FanWarnTempGate", &P::FanWarnTempGate,
                          std::array<std::string_view, 4>{"None", "Below48", "Below41", "Always"}));
    f.push_back(BoolField("PowerFanShownNA", &P::PowerFanShownNA));
    f.push_back(BoolField("PowerFanUnmonitored", &P::PowerFanUnmonitored));
    f.push_back(BoolField("CpuFanUnmonitored", &P::CpuFanUnmonitored));
    f.push_back(BoolField("SysFanShownZero", &P::SysFanShownZero));
    f.push_back(BoolField("AutoHide", &P::AutoHide));
    f.push_back(BoolField("ChassisSupported", &P::ChassisSupported));
    f.push_back(BoolField("FrostlineSupported", &P::FrostlineSupported));
    f.push_back(BoolField("PanoraSysFanExcluded", &P::PanoraSysFanExcluded));
    f.push_back(LimitField("CpuTempLimitOverride", &P::CpuTempLimitOverride));
    f.push_back(LimitField("CpuFanLimitOverride", &P::CpuFanLimitOverride));
    f.push_back(IntField("SysFanUpperBase", &P::SysFanUpperBase, 0, 100000));
    f.push_back(BoolField("VcoreLowerOverride", &P::VcoreLowerOverride));
    return f;
}

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

struct Reporter {
    std::ostream& Out;
    const std::string& File;
    int Count = 0;
    void operator()(int line, const std::string& message) {
        Out << File << ':' << line << ": " << message << '\n';
        ++Count;
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
    if (tokens.size() != 3 || tokens[1].Text != "vendor" || !ParseInt(tokens[2].Text, id) ||
        id < 0 || id > 0xFFFFFFFFLL)
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

std::span<const ProfileField> ProfileFields() {
    static const std::vector<ProfileField> fields = MakeFields();
    return fields;
}

const ProfileField* FindProfileField(std::string_view name) {
    for (const auto& f : ProfileFields())
        if (f.Name == name)
            return &f;
    return nullptr;
}

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
