# Files under Resources/ compiled into orvo_core as byte arrays, so the program needs nothing
# beside its binary. The source is generated at configure time and only rewritten when its text
# changes; editing a resource re-runs the configure step on the next build.
set(ORVO_RESOURCE_FILES
  ${CMAKE_SOURCE_DIR}/Resources/TuningModel.bin
  ${CMAKE_SOURCE_DIR}/Resources/WedgePresets.json
  ${CMAKE_SOURCE_DIR}/Resources/Default.layout.json

  ${CMAKE_SOURCE_DIR}/Resources/ParameterHelp.json)

set(ORVO_RESOURCE_SOURCE ${CMAKE_BINARY_DIR}/generated/EmbeddedResources.cpp)
set(table "")
set(arrays "")
set(index 0)
foreach(resource IN LISTS ORVO_RESOURCE_FILES)
  get_filename_component(name ${resource} NAME)
  file(READ ${resource} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # A trailing 0 keeps an empty file a valid array; the size below leaves it out.
  string(APPEND arrays "const unsigned char resource${index}[] = { ${bytes}0 };\n")
  string(APPEND table "    { \"${name}\", resource${index}, ${size} },\n")
  math(EXPR index "${index} + 1")
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ORVO_RESOURCE_FILES})

file(WRITE ${ORVO_RESOURCE_SOURCE}.new
"// Generated from Resources/ by cmake/OrvoResources.cmake; edits here are lost.
#include \"model/EmbeddedResources.h\"

namespace orvo
{
namespace
{
${arrays}
const EmbeddedResource resources[] = {
${table}};
} // namespace

EmbeddedResource embeddedResource (std::string_view name)
{
    for (const auto& r : resources)
        if (name == r.name)
            return r;
    return {};
}

} // namespace orvo
")
configure_file(${ORVO_RESOURCE_SOURCE}.new ${ORVO_RESOURCE_SOURCE} COPYONLY)
target_sources(orvo_core PRIVATE ${ORVO_RESOURCE_SOURCE})
