#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvo
{

/** A file of Resources/ built into the program (cmake/OrvoResources.cmake lists them). */
struct EmbeddedResource
{
    const char* name = "";
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

/** The resource with that file name; data null and size 0 when there is none. */
EmbeddedResource embeddedResource (std::string_view name);

} // namespace orvo
