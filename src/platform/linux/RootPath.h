#pragma once
// Where a reader finds a system file under its root folder: "/" on the
// machine itself, a fixture tree in the tests.
#include <string>
#include <string_view>

namespace pelmora {

// `path`, absolute or not, under `root`; an empty root is "/". Slashes where
// the two meet are folded into one: "/tmp/tree/" and "/proc/stat" give
// "/tmp/tree/proc/stat".
inline std::string underRoot(std::string_view root, std::string_view path)
{
    while (!root.empty() && root.back() == '/') root.remove_suffix(1);
    while (!path.empty() && path.front() == '/') path.remove_prefix(1);
    std::string joined;
    joined.reserve(root.size() + 1 + path.size());
    joined.append(root);
    joined.push_back('/');
    joined.append(path);
    return joined;
}

}  // namespace pelmora
