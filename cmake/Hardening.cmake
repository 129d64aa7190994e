# Hardening the compiler adds beyond what a build's own flags ask for, where
# the compiler has it: control-flow protection (-fcf-protection: indirect
# branches land only on marked targets, returns checked against a shadow
# stack) and stack clash protection. Debian 12's dpkg-buildflags adds
# neither, so the packaged program gets them here. Windows builds leave them
# out: Windows uses no branch marks and mingw-w64's linker cannot mark a
# program for the shadow stack.
include(CheckCXXCompilerFlag)

if(NOT WIN32 AND NOT MSVC)
  foreach(flag -fcf-protection -fstack-clash-protection)
    string(MAKE_C_IDENTIFIER "QUORVANE_HAS${flag}" has_flag)
    check_cxx_compiler_flag(${flag} ${has_flag})
    if(${has_flag})
      add_compile_options($<$<COMPILE_LANGUAGE:CXX>:${flag}>)
    endif()
  endforeach()
endif()
