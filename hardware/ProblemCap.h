// A cap on the problems reported from one file. A garbage file (a picture
// saved under a table's name, a file of random bytes) has a problem on every
// row; one message per row buries everything else said at start-up under
// thousands of lines. The first kShownProblems are reported as they come, the
// rest only counted, and one closing line gives the count:
//   "... and 1,955 more problems in /home/u/.config/sentinax/boards.table"
// Header-only, so that libhmio.so (which links nothing of ours) can use it too.
#pragma once

#include <cstddef>
#include <string>

namespace sentinax {

// 1955 -> "1,955": counts as people write them.
inline std::string GroupedNumber(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

class ProblemCap {
public:
    static constexpr std::size_t kShownProblems = 10;

    explicit ProblemCap(std::string file) : file_(std::move(file)) {}

    // Counts one problem; true while it is still to be reported.
    bool Take() { return ++count_ <= kShownProblems; }

    std::size_t Count() const { return count_; }

    // The closing line (no newline), or empty when every problem was reported.
    std::string Closing() const {
        if (count_ <= kShownProblems)
            return {};
        return "... and " + GroupedNumber(count_ - kShownProblems) + " more problems in " + file_;
    }

private:
    std::string file_;
    std::size_t count_ = 0;
};

} // namespace sentinax
