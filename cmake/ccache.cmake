# A clean CI machine rebuilds everything; ccache makes the second preset (and reruns) cheap.
find_program(QUILLMARK_CCACHE ccache)
if(QUILLMARK_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${QUILLMARK_CCACHE})
endif()
