#include "Scenario.h"

namespace hmio {

namespace {

constexpr int kMaxRepeat = 10000;

// Words after the key: values, "value*count" repeats, and an optional final
// "cycle" or "hold". Values must lie in [low, high].
std::optional<Sequence<int64_t>> ParseSequence(const std::vector<std::string_view>& words,
                                               size_t first, int64_t low, int64_t high,
                                               std::string& problem) {
    Sequence<int64_t> sequence;
    size_t end = words.size();
    if (end > first && (words[end - 1] == "cycle" || words[end - 1] == "hold")) {
        sequence.Cycle = words[end - 1] == "cycle";
        --end;
    }
    for (size_t i = first; i < end; ++i) {
        std::string_view word = words[i];
        int64_t count = 1;
        const size_t star = word.find('*');
        if (star != std::string_view::npos) {
            const auto repeat = ParseInteger(word.substr(star + 1));
            if (!repeat || *repeat < 1 || *repeat > kMaxRepeat) {
                problem = "bad repeat count in '" + std::string(word) + "'";
                return std::nullopt;
            }
            count = *repeat;
            word = word.substr(0, star);
        }
        const auto value = ParseInteger(word);
        if (!value) {
            problem = "not a number: '" + std::string(word) + "'";
            return std::nullopt;
        }
        if (*value < low || *value > high) {
            problem = "value " + std::string(word) + " out of range " + std::to_string(low) + ".." +
                      std::to_string(high);
            return std::nullopt;
        }
        if (sequence.Values.size() + count > 100000) {
            problem = "sequence too long";
            return std::nullopt;
        }
        sequence.Values.insert(sequence.Values.end(), static_cast<size_t>(count), *value);
    }
    if (sequence.Values.empty()) {
        problem = "no values";
        return std::nullopt;
    }
    return sequence;
}

// "ec <command> <argument> = <bytes> [| <bytes>]... [cycle|hold]"; a reply of
// "none" is no reply at all.
bool ParseEc(const std::vector<std::string_view>& words, Scenario& scenario, std::string& problem) {
    if (words.size() < 5 || words[3] != "=") {
        problem = "expected: ec <command> <argument> = <bytes> [| <bytes>]... [cycle]";
        return false;
    }
    const auto command = ParseInteger(words[1]);
    const auto argument = ParseInteger(words[2]);
    if (!command || !argument || *command < 0 || *command > 255 || *argument < 0 ||
        *argument > 255) {
        problem = "EC command and argument must be bytes";
        return false;
    }
    EcResponse response;
    std::vector<uint8_t> reply;
    bool silent = false;
    size_t end = words.size();
    if (words[end - 1] == "cycle" || words[end - 1] == "hold") {
        response.Replies.Cycle = words[end - 1] == "cycle";
        --end;
    }
    for (size_t i = 4; i <= end; ++i) {
        if (i == end || words[i] == "|") {
            if (reply.empty() && !silent) {
                problem = "empty EC reply";
                return false;
            }
            response.Replies.Values.push_back(reply);
            reply.clear();
            silent = false;
            continue;
        }
        // "none": the controller takes the command and never answers it.
        if (words[i] == "none" && reply.empty() && !silent) {
            silent = true;
            continue;
        }
        if (silent) {
            problem = "'none' stands alone in its reply";
            return false;
        }
        const auto byte = ParseInteger(words[i]);
        if (!byte || *byte < 0 || *byte > 255 || reply.size() >= 16) {
            problem = "bad EC reply byte '" + std::string(words[i]) + "'";
            return false;
        }
        reply.push_back(static_cast<uint8_t>(*byte));
    }
    scenario.Ec[static_cast<uint16_t>((*command << 8) | *argument)] = std::move(response);
    return true;
}

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

} // namespace

Scenario ParseScenario(std::string_view text, const std::string& fileName, ParseErrors& errors) {
    Scenario scenario;
    ForEachLine(text, [&](int number, std::string_view line) {
        const auto words = SplitWords(line);
        const std::string_view key = words[0];
        const std::string_view rest = Trim(line.substr(key.size()));
        std::string problem;
        auto fail = [&](const std::string& what) {
            errors.push_back(LineError(fileName, number, what));
        };
        auto sequence = [&](size_t first, int64_t low, int64_t high, Sequence<int64_t>& into) {
            if (auto parsed = ParseSequence(words, first, low, high, problem))
                into = std::move(*parsed);
            else
                fail(std::string(key) + ": " + problem);
        };
        auto index = [&](int limit) -> int {
            const auto n = words.size() > 1 ? ParseInteger(words[1]) : std::nullopt;
            if (!n || *n < 0 || *n >= limit) {
                fail(std::string(key) + ": index must be 0.." + std::to_string(limit - 1));
                return -1;
            }
            return static_cast<int>(*n);
        };

        if (key == "manufacturer" || key == "product" || key == "version") {
            std::string value(rest);
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            if (value.size() > 255 || value.find('"') != std::string::npos) {
                fail(std::string(key) + ": text too long or with a stray quote");
                return;
            }
            (key == "manufacturer" ? scenario.Manufacturer
             : key == "product"    ? scenario.Product
                                   : scenario.Version) = value;
            scenario.HasBoard = true;
        } else if (key == "dmi") {
            if (rest.empty())
                return fail("dmi: expected a file path or 'none'");
            if (rest == "none") {
                scenario.NoDmi = true;
                scenario.DmiTableFile.reset();
            } else {
                scenario.NoDmi = false;
                const std::string path(rest);
                scenario.DmiTableFile = path[0] == '/' ? path : FolderOf(fileName) + path;
            }
        } else if (key == "vendor") {
            const auto vendor = words.size() == 2 ? ParseInteger(words[1]) : std::nullopt;
            if (!vendor || *vendor < 0 || *vendor > 0xFFFFFFFFLL)
                return fail("vendor: expected one number such as 0x8086");
            scenario.Vendor = static_cast<uint32_t>(*vendor);
        } else if (key == "load") {
            sequence(1, 0, 0xFFFFFFFFLL, scenario.Load);
        } else if (key == "lm78") {
            sequence(1, 0, 255, scenario.Lm78);
        } else if (key == "lm75") {
            sequence(1, 0, 255, scenario.Lm75);
        } else if (key == "slot") {
            const int n = index(30);
            if (n >= 0)
                sequence(2, INT32_MIN, INT32_MAX, scenario.Slots[n]);
        } else if (key == "param") {
            const int n = index(8);
            if (n >= 0)
                sequence(2, 0, 255, scenario.Params[n]);
        } else if (key == "chassis") {
            sequence(1, 0, 1, scenario.Chassis);
        } else if (key == "chassis-clear") {
            if (rest != "clears" && rest != "ignored")
                return fail("chassis-clear: expected 'clears' or 'ignored'");
            scenario.ChassisClearWorks = rest == "clears";
        } else if (key == "cpu-crit") {
            const auto crit = words.size() == 2 ? ParseInteger(words[1]) : std::nullopt;
            if (!crit || *crit < INT32_MIN || *crit > INT32_MAX)
                return fail("cpu-crit: expected one number of degrees Celsius such as 100");
            scenario.CpuTempCrit = static_cast<int32_t>(*crit);
        } else if (key == "ec") {
            if (!ParseEc(words, scenario, problem))
                fail(problem);
        } else if (key == "ec-no-output") {
            if (words.size() != 1)
                return fail("ec-no-output takes no value");
            scenario.EcNoOutput = true;
        } else if (key == "ec-input-busy" || key == "ec-output-delay") {
            const auto polls = words.size() == 2 ? ParseInteger(words[1]) : std::nullopt;
            if (!polls || *polls < 0 || *polls > 1000000)
                return fail(std::string(key) + ": expected a poll count 0..1000000");
            (key == "ec-input-busy" ? scenario.EcInputBusyPolls : scenario.EcOutputDelayPolls) =
                static_cast<int>(*polls);
        } else {
            fail("unknown key '" + std::string(key) + "'");
        }
    });
    return scenario;
}

} // namespace hmio
