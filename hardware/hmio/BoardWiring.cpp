#include "BoardWiring.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace hmio {

namespace {

constexpr std::string_view kItemWords[kWiringItemCount] = {
    "vcore", "cputemp", "systemp", "v33", "v5", "v12", "cpufan", "sysfan", "fan3"};
constexpr std::string_view kItemTitles[kWiringItemCount] = {
    "Vcore", "CPU temperature", "system temperature", "+3.3 V",   "+5 V",
    "+12 V", "CPU fan",         "system fan",         "third fan"};
constexpr int64_t kMaxFactorPart = 1000000000;

std::optional<WiringItem> ItemFromWord(std::string_view word) {
    for (int i = 0; i < kWiringItemCount; ++i) {
        if (kItemWords[i] == word)
            return static_cast<WiringItem>(i);
    }
    return std::nullopt;
}

bool IsVoltageItem(WiringItem item) {
    return item == WiringItem::Vcore || item == WiringItem::V33 || item == WiringItem::V5 ||
           item == WiringItem::V12;
}

// The stem an item needs ("in", "temp", "fan") and the documented numbers.
bool InputFitsItem(WiringItem item, std::string_view input) {
    std::string_view prefix = "fan";
    int first = 1, last = 7;
    if (IsVoltageItem(item)) {
        prefix = "in";
        first = 0;
        last = 15;
    } else if (item == WiringItem::CpuTemp || item == WiringItem::SysTemp) {
        prefix = "temp";
        last = 10;
    }
    if (input.substr(0, prefix.size()) != prefix)
        return false;
    const std::string_view digits = input.substr(prefix.size());
    if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0') ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int number = std::stoi(std::string(digits));
    return number >= first && number <= last;
}

// A positive whole number of at most nine digits.
std::optional<int64_t> Whole(std::string_view text) {
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoll(std::string(text));
}

// A decimal such as 6.8 or 30 as a fraction (numerator, denominator).
std::optional<std::pair<int64_t, int64_t>> Decimal(std::string_view text) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || fraction.size() > 4 || whole.size() > 6)
        return std::nullopt;
    const auto w = whole.empty() ? std::optional<int64_t>(0) : Whole(whole);
    const auto f = fraction.empty() ? std::optional<int64_t>(0) : Whole(fraction);
    if (!w || !f || (point != std::string_view::npos && fraction.empty()))
        return std::nullopt;
    int64_t denominator = 1;
    for (size_t i = 0; i < fraction.size(); ++i)
        denominator *= 10;
    return std::make_pair(*w * denominator + *f, denominator);
}

Scale Reduced(int64_t multiply, int64_t divide) {
    const int64_t common = std::gcd(multiply, divide);
    return {multiply / common, divide / common};
}

// "*12", "*168/100", or the two words "div" "30/10". Empty text: no scale.
std::optional<Scale> ParseScaleWords(const std::vector<std::string>& words, size_t first,
                                     std::string& why) {
    const size_t count = words.size() - first;
    if (count == 1 && words[first].size() > 1 && words[first][0] == '*') {
        const std::string_view text = std::string_view(words[first]).substr(1);
        const size_t slash = text.find('/');
        const auto m = Whole(text.substr(0, slash));
        const auto d = slash == std::string_view::npos ? std::optional<int64_t>(1)
                                                       : Whole(text.substr(slash + 1));
        if (m && d && *m > 0 && *d > 0)
            return Reduced(*m, *d);
    } else if (count == 2 && words[first] == "div") {
        const std::string_view text = words[first + 1];
        const size_t slash = text.find('/');
        if (slash != std::string_view::npos) {
            const auto r1 = Decimal(text.substr(0, slash));
            const auto r2 = Decimal(text.substr(slash + 1));
            if (r1 && r2 && r2->first > 0) {
                // 1 + (a/b) / (c/d) = (c*b + a*d) / (c*b)
                const int64_t below = r2->first * r1->second;
                const int64_t above = below + r1->first * r2->second;
                if (above <= kMaxFactorPart * 10 && below <= kMaxFactorPart * 10)
                    return Reduced(above, below);
            }
        }
    }
    why = "bad scale (expected *N, *N/D or div R1/R2)";
    return std::nullopt;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string_view WiringItemWord(WiringItem item) {
    return kItemWords[static_cast<int>(item)];
}

std::string_view WiringItemTitle(WiringItem item) {
    return kItemTitles[static_cast<int>(item)];
}

int64_t Scale::Apply(int64_t raw) const {
    const __int128 product = static_cast<__int128>(raw) * Multiply / Divide;
    if (product > INT64_MAX / 2)
        return INT64_MAX / 2;
    if (product < INT64_MIN / 2)
        return INT64_MIN / 2;
    return static_cast<int64_t>(product);
}

std::string ScaleText(const Scale& scale) {
    if (scale.Divide == 1)
        return "x" + std::to_string(scale.Multiply);
    return "x" + std::to_string(scale.Multiply) + "/" + std::to_string(scale.Divide);
}

const WiringLine* WiringBoard::LineFor(WiringItem item) const {
    for (const WiringLine& line : Lines) {
        if (line.Item == item)
            return &line;
    }
    return nullptr;
}

void ParseBoardWiring(std::string_view text, const std::string& file, BoardWiring& wiring,
                      ParseErrors& errors) {
    WiringBoard* open = nullptr; // the block being read
    auto error = [&](int line, const std::string& what) {
        errors.push_back(LineError(file, line, what));
    };
    ForEachLine(text, [&](int number, std::string_view line) {
        std::vector<std::string> words;
        if (!SplitQuotedWords(line, words)) {
            error(number, "unclosed quote");
            return;
        }
        const std::string& keyword = words[0];
        if (keyword == "board") {
            if (open)
                error(open->Line, "board block has no end before line " + std::to_string(number));
            open = nullptr;
            if (words.size() != 3 || words[1].empty() || words[2].empty()) {
                error(number, "expected: board \"<vendor>\" \"<name>\"");
                return;
            }
            WiringBoard board;
            board.Vendor = std::string(TrimBlanks(words[1]));
            board.Name = std::string(TrimBlanks(words[2]));
            board.File = file;
            board.Line = number;
            wiring.Boards.push_back(std::move(board));
            open = &wiring.Boards.back();
            return;
        }
        if (!open) {
            error(number, "'" + keyword + "' outside a board block");
            return;
        }
        if (keyword == "end") {
            if (words.size() != 1)
                error(number, "expected: end");
            open = nullptr;
            return;
        }
        if (keyword == "chip") {
            if (words.size() != 2) {
                error(number, "expected: chip <hwmon name>[@<address>]");
                return;
            }
            WiringChip chip;
            chip.Line = number;
            const size_t at = words[1].find('@');
            chip.Name = words[1].substr(0, at);
            if (at != std::string::npos) {
                const std::string hex = words[1].substr(at + 1);
                const auto value =
                    hex.empty() || hex.size() > 8 ? std::nullopt : ParseInteger("0x" + hex);
                if (!value) {
                    error(number, "bad chip address '" + hex + "' (hexadecimal, like 0a40)");
                    return;
                }
                chip.Address = static_cast<int>(*value);
            }
            if (chip.Name.empty() || chip.Name.size() > 64) {
                error(number, "bad chip name");
                return;
            }
            open->Chips.push_back(std::move(chip));
            return;
        }
        const auto item = ItemFromWord(keyword);
        if (!item) {
            error(number, "unknown item '" + keyword +
                              "' (vcore, v33, v5, v12, cputemp, systemp, cpufan, sysfan, fan3)");
            return;
        }
        if (words.size() < 2) {
            error(number, "expected: " + keyword + " <input> [scale] or " + keyword + " none");
            return;
        }
        if (const WiringLine* earlier = open->LineFor(*item)) {
            error(number, keyword + " given twice in this block (first at line " +
                              std::to_string(earlier->Line) + ")");
            return;
        }
        WiringLine entry;
        entry.Item = *item;
        entry.Line = number;
        if (words[1] == "none") {
            if (words.size() != 2) {
                error(number, "nothing may follow 'none'");
                return;
            }
            entry.None = true;
            open->Lines.push_back(entry);
            return;
        }
        if (open->Chips.empty()) {
            error(number, "item line before any chip line");
            return;
        }
        if (!InputFitsItem(*item, words[1])) {
            error(number, "input '" + words[1] + "' does not fit " + keyword +
                              (IsVoltageItem(*item) ? " (in0..in15)"
                               : (*item == WiringItem::CpuTemp || *item == WiringItem::SysTemp)
                                   ? " (temp1..temp10)"
                                   : " (fan1..fan7)"));
            return;
        }
        entry.Input = words[1];
        entry.Chip = static_cast<int>(open->Chips.size()) - 1;
        if (words.size() > 2) {
            if (!IsVoltageItem(*item)) {
                error(number, "a scale is only for voltages");
                return;
            }
            std::string why;
            const auto scale = ParseScaleWords(words, 2, why);
            if (!scale) {
                error(number, why);
                return;
            }
            entry.Factor = *scale;
        }
        open->Lines.push_back(entry);
    });
    if (open)
        error(open->Line, "board block has no end");
}

const WiringBoard* FindWiringBoard(const BoardWiring& wiring, std::string_view vendor,
                                   std::string_view name) {
    const std::string v = Lower(TrimBlanks(vendor));
    const std::string n = Lower(TrimBlanks(name));
    for (const WiringBoard& board : wiring.Boards) {
        if (Lower(board.Vendor) != v)
            continue;
        const std::string pattern = Lower(board.Name);
        const bool matches =
            !pattern.empty() && pattern.back() == '*'
                ? n.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0 &&
                      n.size() >= pattern.size() - 1
                : n == pattern;
        if (matches)
            return &board;
    }
    return nullptr;
}

bool WiringChipMatches(const WiringChip& line, std::string_view prefix, int address) {
    return line.Name == prefix && (!line.Address || *line.Address == address);
}

} // namespace hmio
