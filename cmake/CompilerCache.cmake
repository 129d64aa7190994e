# Compiles through ccache when the machine has it, so a second build, from
# this clone or from another one in another folder, compiles only what
# changed. Without ccache, or with -DQUORVANE_CCACHE=OFF, the compiler runs
# as usual; a launcher the developer chose (CMAKE_CXX_COMPILER_LAUNCHER) is
# kept.
#
# The cache lives outside the clone: in the developer's CCACHE_DIR, else
# beside the project's other caches in the user's cache folder. Paths under
# the clone reach the compiler relative to the build folder (ccache's
# base_dir), and the debug information and __FILE__ name the clone ".", so
# a build in another clone asks ccache the same questions and gets the same
# objects, carrying no trace of the folder that first compiled them.
option(QUORVANE_CCACHE "Compile through ccache when it is installed" ON)
find_program(QUORVANE_CCACHE_PROGRAM ccache)

if(NOT MSVC)
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>)
endif()

if(QUORVANE_CCACHE AND QUORVANE_CCACHE_PROGRAM AND NOT MSVC AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  if(NOT "$ENV{CCACHE_DIR}" STREQUAL "")
    set(quorvane_ccache_dir "$ENV{CCACHE_DIR}")
  elseif(NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(quorvane_ccache_dir "$ENV{XDG_CACHE_HOME}/quorvane/ccache")
  else()
    set(quorvane_ccache_dir "$ENV{HOME}/.cache/quorvane/ccache")
  endif()
  # Set for each compile with env, so a build started from any shell, with
  # or without the project's scripts, uses the same cache the same way.
  set(CMAKE_CXX_COMPILER_LAUNCHER env "CCACHE_DIR=${quorvane_ccache_dir}"
    "CCACHE_BASEDIR=${PROJECT_SOURCE_DIR}" ${QUORVANE_CCACHE_PROGRAM})
endif()
