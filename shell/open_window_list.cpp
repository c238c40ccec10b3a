#include "shell/open_window_list.h"

#include <algorithm>

namespace tervalen::shell {

bool OpenWindowList::record(const std::string& caption) {
    const auto it = std::find(m_captions.begin(), m_captions.end(), caption);
    if (it != m_captions.end()) {
        m_checked = static_cast<int>(it - m_captions.begin());
        return true;
    }
    if (m_captions.size() == kSlots) m_captions.erase(m_captions.begin());
    m_captions.push_back(caption);
    m_checked = static_cast<int>(m_captions.size()) - 1;
    return false;
}

}  // namespace tervalen::shell
