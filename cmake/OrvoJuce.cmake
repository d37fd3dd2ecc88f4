# JUCE from Debian's juce-modules-source, compiled once into one static library that every
# target links; linking the juce:: module targets again anywhere would compile JUCE twice.
find_package(JUCE 7.0.5 EXACT CONFIG REQUIRED)

add_library(orvo_juce STATIC)
target_link_libraries(orvo_juce
  PRIVATE juce::juce_core juce::juce_events juce::juce_data_structures juce::juce_cryptography
          juce::juce_audio_basics juce::juce_audio_devices juce::juce_graphics juce::juce_gui_basics
  PUBLIC  juce::juce_recommended_config_flags
          juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
target_compile_definitions(orvo_juce PUBLIC JUCE_WEB_BROWSER=0 JUCE_USE_CURL=0 JUCE_DISPLAY_SPLASH_SCREEN=0
  JUCE_REPORT_APP_USAGE=0 JUCE_STANDALONE_APPLICATION=1 DONT_SET_USING_JUCE_NAMESPACE=1
  JUCE_MODAL_LOOPS_PERMITTED=0)
target_include_directories(orvo_juce INTERFACE $<TARGET_PROPERTY:orvo_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions(orvo_juce INTERFACE $<TARGET_PROPERTY:orvo_juce,COMPILE_DEFINITIONS>)
if(ORVO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ORVO_FUZZ needs clang (libFuzzer); configure with CC=clang-14 CXX=clang++-14")
  endif()
  # Coverage for the fuzzer everywhere, and every sanitizer report fatal so the fuzzer keeps its input.
  target_compile_options(orvo_juce PUBLIC -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                                          -fno-omit-frame-pointer)
  target_link_options(orvo_juce PUBLIC -fsanitize=address,undefined)
elseif(ORVO_SANITIZE)
  target_compile_options(orvo_juce PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(orvo_juce PUBLIC -fsanitize=address,undefined)
endif()
