// Following symbolic links to the file they name, with the standard library
// alone, for every system's atomic file.
#include "settings/AtomicFile.h"

namespace pelmora {

namespace fs = std::filesystem;

fs::path resolveSymlinks(const fs::path& file)
{
    fs::path current = file;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) return current;
        fs::path target = fs::read_symlink(current, error);
        if (error) return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current;
}

}  // namespace pelmora
