# orvo_core: all logic, never a juce_gui_* header. Sources are collected by folder so that a
# new file in a subsystem needs no build edit; UI lives in Source/app, Source/ui and any */ui folder.
file(GLOB_RECURSE ORVO_ALL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Source/*.cpp)
# Lets one engineer build while another's half-written files sit in the same tree.
set(ORVO_SOURCE_EXCLUDE "" CACHE STRING "Regular expression of source paths to leave out of the build")
if(ORVO_SOURCE_EXCLUDE)
  list(FILTER ORVO_ALL_SOURCES EXCLUDE REGEX "${ORVO_SOURCE_EXCLUDE}")
endif()
set(ORVO_CORE_SOURCES)
set(ORVO_UI_SOURCES)
set(ORVO_CLI_SOURCES)
foreach(src IN LISTS ORVO_ALL_SOURCES)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/Source ${src})
  if(rel MATCHES "^app/" OR rel MATCHES "^ui/" OR rel MATCHES "/ui/")
    list(APPEND ORVO_UI_SOURCES ${src})
  elseif(rel MATCHES "^cli/")
    list(APPEND ORVO_CLI_SOURCES ${src})
  else()
    list(APPEND ORVO_CORE_SOURCES ${src})
  endif()
endforeach()

add_library(orvo_core STATIC ${ORVO_CORE_SOURCES})
target_include_directories(orvo_core PUBLIC ${CMAKE_SOURCE_DIR}/Source)
target_link_libraries(orvo_core PUBLIC orvo_juce PRIVATE orvo_warnings)
# --version of both programs and the package's version come from project() alone.
target_compile_definitions(orvo_core PUBLIC ORVO_VERSION="${PROJECT_VERSION}")

add_executable(OrvoEditor ${ORVO_UI_SOURCES})
target_link_libraries(OrvoEditor PRIVATE orvo_core orvo_warnings)
set_target_properties(OrvoEditor PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

add_executable(orvo-cli ${ORVO_CLI_SOURCES})
target_link_libraries(orvo-cli PRIVATE orvo_core orvo_warnings)
set_target_properties(orvo-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
