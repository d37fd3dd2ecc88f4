# Warnings are errors in our own code; JUCE's headers come in as system includes.
add_library(orvo_warnings INTERFACE)
target_compile_options(orvo_warnings INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers -Werror)
