# Build switches shared by every target of the project.

set(SANITIZE "" CACHE STRING "Comma-separated sanitizers, e.g. address,undefined")
option(CLIPWRIGHT_WERROR "Treat warnings in our own code as errors" ON)

if(SANITIZE)
  add_compile_options(-fsanitize=${SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${SANITIZE})
endif()

# Warnings for our own targets only; third-party headers come in as system includes.
function(clipwright_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local
                         -Wno-missing-field-initializers)
  if(CLIPWRIGHT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
