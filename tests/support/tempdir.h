#pragma once

#include <filesystem>
#include <string>

namespace nimbreltest
{

// A fresh directory below the system's temporary directory, removed with everything in it on destruction.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    // The path of a file name inside the directory.
    std::string file(const std::string &name) const { return (m_path / name).string(); }
    // Writes bytes to a file of the directory and returns its path.
    std::string write(const std::string &name, const std::string &bytes) const;
    // The whole content of a file ("" when it cannot be read).
    static std::string read(const std::string &path);

private:
    std::filesystem::path m_path;
};

} // namespace nimbreltest
