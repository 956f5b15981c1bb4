# One INTERFACE target carries the language level, warnings and defines that every target shares.
add_library(fieldmate_options INTERFACE)
target_compile_features(fieldmate_options INTERFACE cxx_std_20)
target_compile_options(fieldmate_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers -Werror=format
  $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
target_compile_definitions(fieldmate_options INTERFACE
  FIELDMATE_VERSION_TEXT="${PROJECT_VERSION}"
  _GNU_SOURCE)
set(CMAKE_CXX_EXTENSIONS OFF)

# Sanitizer builds: -DFIELDMATE_SANITIZE=address,undefined or thread.
set(FIELDMATE_SANITIZE "" CACHE STRING "Comma-separated -fsanitize= list for every target")
if(FIELDMATE_SANITIZE)
  target_compile_options(fieldmate_options INTERFACE -fsanitize=${FIELDMATE_SANITIZE} -fno-omit-frame-pointer -g)
  target_link_options(fieldmate_options INTERFACE -fsanitize=${FIELDMATE_SANITIZE})
endif()
