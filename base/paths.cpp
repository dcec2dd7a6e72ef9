#include "base/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/text.h"

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const std::string& p)
{
    return p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// Splits a stored path at its separators (double-byte aware). The root ("\" or
// "C:\") goes to root; the components to parts.
void SplitPath(const std::string& path, std::string& root, std::vector<std::string>& parts)
{
    root.clear();
    parts.clear();
    std::size_t i = 0;
    if (HasDrive(path)) {
        root = path.substr(0, 2);
        i = 2;
    }
    if (i < path.size() && IsSeparator(path[i])) {
        root += '\\';
        ++i;
    }
    std::string current;
    while (i < path.size()) {
        std::size_t n = CharLength(path, i);
        if (n == 1 && IsSeparator(path[i])) {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current.append(path, i, n);
        }
        i += n;
    }
    if (!current.empty())
        parts.push_back(current);
}

// Removes "." and resolves ".." components.
std::vector<std::string> Collapse(const std::vector<std::string>& parts)
{
    std::vector<std::string> out;
    for (const std::string& p : parts) {
        if (p == ".")
            continue;
        if (p == ".." && !out.empty() && out.back() != "..")
            out.pop_back();
        else
            out.push_back(p);
    }
    return out;
}

std::string Join(const std::string& root, const std::vector<std::string>& parts)
{
    std::string s = root;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            s += '\\';
        s += parts[i];
    }
    return s;
}

// The host's name for one stored component.
std::string HostComponent(const std::string& part) { return Cp932ToUtf8(part); }

}  // namespace

bool HostNameMappable(const std::string& storedPath)
{
    std::string root;
    std::vector<std::string> parts;
    SplitPath(storedPath, root, parts);
    for (const std::string& part : parts) {
        // Undecodable bytes come out as U+FFFD; CP932 text never holds that character.
        if (HostComponent(part).find("\xEF\xBF\xBD") != std::string::npos)
            return false;
    }
    return true;
}

bool IsAbsolutePath(const std::string& path) { return HasDrive(path) || (!path.empty() && IsSeparator(path[0])); }

std::string CurrentDirectory()
{
    std::error_code ec;
    return StoredPath(fs::current_path(ec).string());
}

std::string StoredPath(const std::string& hostPath)
{
    std::string s = Utf8ToCp932(hostPath);
#ifndef _WIN32
    std::replace(s.begin(), s.end(), '/', '\\');
#else
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i))
        if (s[i] == '/')
            s[i] = '\\';
#endif
    return s;
}

void MakeAbsolute(std::string& path)
{
    std::string root;
    std::vector<std::string> parts;
    if (IsAbsolutePath(path)) {
        SplitPath(path, root, parts);
    } else {
        std::vector<std::string> rel;
        SplitPath(CurrentDirectory(), root, parts);
        std::string ignored;
        SplitPath(path, ignored, rel);
        parts.insert(parts.end(), rel.begin(), rel.end());
    }
    path = Join(root, Collapse(parts));
}

bool MakeRelative(std::string& path)
{
    if (!IsAbsolutePath(path))
        return true;
    std::string root, baseRoot;
    std::vector<std::string> parts, base;
    SplitPath(path, root, parts);
    SplitPath(CurrentDirectory(), baseRoot, base);
    if (!EqualNoCase(root, baseRoot))
        return false;  // another drive
    parts = Collapse(parts);
    base = Collapse(base);
    std::size_t common = 0;
    // Folder names are compared as the file system compares them: here two
    // folders may differ only in case.
    auto same = [](const std::string& a, const std::string& b) {
#ifdef _WIN32
        return EqualNoCase(a, b);
#else
        return a == b;
#endif
    };
    while (common < parts.size() && common < base.size() && same(parts[common], base[common]))
        ++common;
    std::vector<std::string> rel;
    for (std::size_t i = common; i < base.size(); ++i)
        rel.push_back("..");
    for (std::size_t i = common; i < parts.size(); ++i)
        rel.push_back(parts[i]);
    path = rel.empty() ? std::string(".") : Join("", rel);
    return true;
}

std::string FileNamePart(const std::string& path)
{
    std::size_t at = FindLastSingleByte(path, '\\');
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string FolderPart(const std::string& path)
{
    std::size_t at = FindLastSingleByte(path, '\\');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

bool ReplaceExtension(std::string& out, const std::string& path, const std::string& ext)
{
    std::size_t dot = FindLastSingleByte(path, '.');
    if (dot == std::string::npos) {
        out = path;
        return false;
    }
    out = ext.empty() ? path.substr(0, dot) : path.substr(0, dot + 1) + ext;
    return true;
}

bool GetExtension(std::string& out, const std::string& path)
{
    std::size_t dot = FindLastSingleByte(path, '.');
    if (dot == std::string::npos) {
        out.clear();
        return false;
    }
    out = path.substr(dot + 1);
    return true;
}

bool HasExtension(const std::string& path, const std::string& ext)
{
    std::string e;
    return GetExtension(e, path) && e == ext;
}

void ListFiles(const std::string& folder, const std::string& ext, std::vector<std::string>& out)
{
    std::error_code ec;
    std::vector<std::string> names;
    for (fs::directory_iterator it(HostPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::string name = Utf8ToCp932(it->path().filename().string());
        std::string e;
        if (GetExtension(e, name) && EqualNoCase(e, ext))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        out.push_back(folder.empty() ? name : folder + "\\" + name);
}

std::string HostPath(const std::string& storedPath)
{
    std::string root;
    std::vector<std::string> parts;
    SplitPath(storedPath, root, parts);

    std::string exact;
#ifdef _WIN32
    exact = root;
#else
    if (!root.empty())
        exact = "/";  // a drive has no meaning here; the path is taken from the root
#endif
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            exact += '/';
        exact += HostComponent(parts[i]);
    }
    std::error_code ec;
    if (exact.empty() || fs::exists(exact, ec))
        return exact;

    // Match each component without regard to case, as Windows does.
    fs::path current = root.empty() ? fs::path(".") : fs::path(exact.substr(0, root.empty() ? 0 : 1));
    fs::path result = root.empty() ? fs::path() : current;
    bool matching = true;
    for (const std::string& part : parts) {
        std::string want = HostComponent(part);
        std::string found;
        if (matching) {
            if (fs::exists(current / want, ec)) {
                found = want;
            } else {
                for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
                    std::string name = it->path().filename().string();
                    if (EqualNoCase(name, want)) {
                        found = name;
                        break;
                    }
                }
            }
        }
        if (found.empty()) {
            matching = false;
            found = want;
        }
        current /= found;
        result /= found;
    }
    return result.string();
}
