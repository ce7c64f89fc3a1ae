// UTF-8 paths split and joined as the system writes them ("C:\mods\x.flg" on Windows).
#pragma once

#include <string>

namespace tavrel {

// The folder part of `path`: "." for a bare name, "/" for a file directly in the root.
std::string folderOf(const std::string& path);
// The last part of `path`.
std::string fileNameOf(const std::string& path);
// `path` with its extension (".chd") replaced by `extension` (".cue"), or that added.
std::string withExtension(const std::string& path, const std::string& extension);
// `name` inside `folder`.
std::string pathIn(const std::string& folder, const std::string& name);

}  // namespace tavrel
