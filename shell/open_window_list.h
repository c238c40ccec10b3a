#pragma once
// The history under "已运行程序": the captions of the forms opened through the menu, in
// order of first use, with a check mark on the one opened or reopened last. Entries are
// never removed while there is room; a 21st distinct form drops the oldest entry.

#include <string>
#include <vector>

namespace tervalen::shell {

class OpenWindowList {
public:
    static constexpr int kSlots = 20;

    // Records a form just shown. Returns true when its caption was already listed.
    bool record(const std::string& caption);
    const std::vector<std::string>& captions() const { return m_captions; }
    // Index of the entry carrying the check mark, -1 when the list is empty.
    int checked() const { return m_checked; }

private:
    std::vector<std::string> m_captions;
    int m_checked = -1;
};

}  // namespace tervalen::shell
