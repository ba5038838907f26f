#include "CSkinDialog.h"

#include <sys/stat.h>

namespace sentinax {

CSkinDialog::CSkinDialog(QWidget* parent) : QDialog(parent) {}

CSkinDialog::~CSkinDialog() = default;

bool CSkinDialog::OnInitDialog() {
    struct stat st {};
    if (!skinPath_.empty() && ::stat(skinPath_.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        LoadSkin();
    return true;
}

void CSkinDialog::LoadSkin() {}

} // namespace sentinax
