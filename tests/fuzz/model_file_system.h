#pragma once
// A small file system in memory with a process current directory, resolving path texts the way the
// platform does (drive paths, drive-relative "E:x", root-relative "\x", network paths, "." and ".."),
// but strict where the platform is lenient: "/" is no separator but a character no name may hold, and
// a name with a trailing dot or blank is refused. Path splitting is checked against it: the folders it
// enters, and that it leaves the current directory as it found it. Names compare ignoring ASCII letter
// case; entered paths keep the case typed.
#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fslists/path_split.h"

class TModelFileSystem : public TPathPlatform {
public:
    // Platform error codes the model gives.
    static constexpr int kFileNotFound = 2;
    static constexpr int kPathNotFound = 3;
    static constexpr int kBadNetPath = 53;
    static constexpr int kNameTooLong = 206;
    static constexpr int kInvalidName = 123;
    static constexpr int kNotAFolder = 267;

    // A folder or file given by its full path (E:\A\B or \\server\share\A); its ancestors are made too.
    void AddFolder(const std::string& path) { Add(path, true); }
    void AddFile(const std::string& path) { Add(path, false); }
    // The folder a bare "E:" stands for while another drive is current.
    void Remember(char drive, const std::string& path) { remembered_[Upper(drive)] = path; }

    std::string CurrentFolder() override { return current_; }
    int EnterFolder(const std::string& path) override
    {
        const Resolved r = Resolve(path);
        if (r.error)
            return r.error;
        if (!r.node || !r.node->folder)
            return r.node ? kNotAFolder : kFileNotFound;
        current_ = r.text;
        return 0;
    }
    bool FolderExists(const std::string& path) override
    {
        const Resolved r = Resolve(path);
        return !path.empty() && !r.error && r.node && r.node->folder;
    }
    bool NamesExistingFile(const std::string& name) override
    {
        const Resolved r = Resolve(name);
        return !name.empty() && !r.error && r.node && !r.node->folder;
    }
    // Sets the current directory without checks (the path must name a folder of the model).
    void SetCurrent(const std::string& path) { current_ = path; }

    // What a path text stands for from the present state: 0 and the entry, or the error EnterFolder gives.
    struct Lookup {
        int error = 0;
        bool exists = false;
        bool folder = false;
    };
    Lookup Find(const std::string& path)
    {
        const Resolved r = Resolve(path);
        if (r.error)
            return {r.error, false, false};
        if (!r.node)
            return {kFileNotFound, false, false};
        return {0, true, r.node->folder};
    }

    // The full path a path text stands for from the present state, in capitals, to compare two; empty
    // when the text names nothing the platform could enter.
    std::string Canonical(const std::string& path) const
    {
        const Resolved r = Resolve(path);
        return r.error ? std::string() : Key(r.text);
    }

private:
    struct Node {
        bool folder = true;
        std::map<std::string, Node> children;  // by upper-cased name
    };
    struct Resolved {
        int error = 0;
        const Node* node = nullptr;  // none when the last name is missing
        std::string text;            // the full path as the platform reports it
    };

    static char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
    static std::string Key(const std::string& name)
    {
        std::string key = name;
        for (char& c : key)
            c = Upper(c);
        return key;
    }
    static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

    static std::vector<std::string> Names(const std::string& text)
    {
        std::vector<std::string> names;
        std::string name;
        for (char c : text) {
            if (c == '\\') {
                if (!name.empty())
                    names.push_back(name);
                name.clear();
            } else {
                name += c;
            }
        }
        if (!name.empty())
            names.push_back(name);
        return names;
    }

    // root is "E:" or "\\server\share" (as typed); names follow it.
    struct Absolute {
        std::string root;
        std::vector<std::string> names;
    };

    // Splits a full path as the model keeps it into root and names.
    static Absolute Parse(const std::string& full)
    {
        if (full.size() >= 2 && full[1] == ':')
            return {full.substr(0, 2), Names(full.substr(2))};
        const std::vector<std::string> all = Names(full);
        Absolute a;
        a.root = "\\\\" + (all.size() > 0 ? all[0] : "") + "\\" + (all.size() > 1 ? all[1] : "");
        a.names.assign(all.size() > 2 ? all.begin() + 2 : all.end(), all.end());
        return a;
    }

    void Add(const std::string& path, bool folder)
    {
        const Absolute a = Parse(path);
        Node* node = &roots_[Key(a.root)];
        for (size_t i = 0; i < a.names.size(); ++i) {
            node = &node->children[Key(a.names[i])];
            if (i + 1 == a.names.size())
                node->folder = folder;
        }
    }

    static bool SeparatorAt(const std::string& s, size_t i) { return i < s.size() && s[i] == '\\'; }

    Resolved Resolve(const std::string& path) const
    {
        Resolved r;
        if (path.empty())
            return {kInvalidName, nullptr, {}};
        if (path.find('\0') != std::string::npos)
            return {kInvalidName, nullptr, {}};
        Absolute base;
        std::string rest;
        if (SeparatorAt(path, 0) && SeparatorAt(path, 1)) {
            const std::vector<std::string> all = Names(path);
            if (all.size() < 2)
                return {kBadNetPath, nullptr, {}};
            base.root = "\\\\" + all[0] + "\\" + all[1];
            for (size_t i = 2; i < all.size(); ++i)
                rest += "\\" + all[i];
        } else if (path.size() >= 2 && path[1] == ':') {
            if (!IsLetter(path[0]))
                return {kInvalidName, nullptr, {}};
            if (SeparatorAt(path, 2)) {
                base.root = path.substr(0, 2);
            } else {
                // Relative to that drive's folder: the current one on the current drive.
                const bool currentDrive = current_.size() >= 2 && current_[1] == ':' && Upper(current_[0]) == Upper(path[0]);
                const auto remembered = remembered_.find(Upper(path[0]));
                if (currentDrive)
                    base = Parse(current_);
                else if (remembered != remembered_.end())
                    base = Parse(remembered->second);
                else
                    base.root = path.substr(0, 2);
            }
            rest = path.substr(2);
        } else if (SeparatorAt(path, 0)) {
            base.root = Parse(current_).root;
            rest = path;
        } else {
            base = Parse(current_);
            rest = path;
        }
        for (const std::string& name : Names(rest)) {
            if (name == ".")
                continue;
            if (name == "..") {
                if (!base.names.empty())
                    base.names.pop_back();
                continue;
            }
            base.names.push_back(name);
        }
        std::string text = base.root + "\\";
        for (size_t i = 0; i < base.names.size(); ++i)
            text += (i ? "\\" : "") + base.names[i];
        if (text.size() > 259)
            return {kNameTooLong, nullptr, {}};
        for (const std::string& name : base.names) {
            if (name.find_first_of("<>:\"|?*/") != std::string::npos || name.back() == '.' || name.back() == ' ')
                return {kInvalidName, nullptr, {}};
            for (char c : name)
                if (static_cast<unsigned char>(c) < 0x20)
                    return {kInvalidName, nullptr, {}};
        }
        const auto root = roots_.find(Key(base.root));
        if (root == roots_.end())
            return {base.root[1] == ':' ? kPathNotFound : kBadNetPath, nullptr, {}};
        const Node* node = &root->second;
        for (size_t i = 0; i < base.names.size(); ++i) {
            if (!node->folder)
                return {kPathNotFound, nullptr, {}};
            const auto child = node->children.find(Key(base.names[i]));
            if (child == node->children.end()) {
                if (i + 1 < base.names.size())
                    return {kPathNotFound, nullptr, {}};
                return {0, nullptr, text};
            }
            node = &child->second;
        }
        return {0, node, text};
    }

    std::map<std::string, Node> roots_;
    std::map<char, std::string> remembered_;
    std::string current_;
};
