#include "CliFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvo::cli
{

bool readSysExFile (const std::string& path, ByteVector& bytes, std::string& reason)
{
    std::error_code error;
    const auto size = std::filesystem::file_size (path, error);
    if (!error && size > maxSysExFileBytes)
    {
        reason = "the file is " + std::to_string (size) + " bytes; files over " +
                 std::to_string (maxSysExFileBytes >> 20) + " MB are not read";
        return false;
    }
    std::ifstream in (path, std::ios::binary);
    if (!in)
    {
        reason = std::strerror (errno);
        return false;
    }
    bytes.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    if (in.bad())
    {
        reason = "read error";
        return false;
    }
    return true;
}

} // namespace orvo::cli
