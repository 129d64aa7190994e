# quorvane_warnings(target): the project's warning level on one target.
function(quorvane_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /permissive- /utf-8 $<$<BOOL:${QUORVANE_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE
      -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
      -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast
      $<$<BOOL:${QUORVANE_WERROR}>:-Werror>)
  endif()
endfunction()
