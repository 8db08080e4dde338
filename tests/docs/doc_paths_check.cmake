# Fails when a document names a file or folder of the source tree that does not exist, so the
# newcomer's map and the contributor's guide cannot drift from the tree as files move.
#   cmake -DSOURCE_DIR=<tree> -DDOCS="README.md;docs/ARCHITECTURE.md" -P doc_paths_check.cmake
# Checked: `code spans` that start with a top-level folder of the tree or name a root file, and
# the targets of relative Markdown links (relative to the document). Spans with placeholders
# (<pack>, NN, *, {a,b}, $VARIABLES) and paths inside build folders are not files to check.
foreach(var SOURCE_DIR DOCS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "doc_paths_check.cmake needs -D${var}=...")
  endif()
endforeach()

set(roots "src/|tools/|tests/|bench/|fuzz/|scripts/|levels/|dist/|docs/|cmake/")
set(root_files "CMakeLists.txt|README.md|CONTRIBUTING.md|CHANGELOG.md|LICENSE|\\.clang-format|\\.editorconfig")
set(missing "")
set(checked 0)

# Notes `named` (as the document spells it) when `path` does not exist.
function(check_path doc named path)
  if(NOT EXISTS "${path}")
    set(missing "${missing}\n  ${doc}: ${named}" PARENT_SCOPE)
  endif()
endfunction()

foreach(doc ${DOCS})
  file(READ "${SOURCE_DIR}/${doc}" text)
  get_filename_component(doc_dir "${SOURCE_DIR}/${doc}" DIRECTORY)
  string(REGEX MATCHALL "`[^`\n]+`" spans "${text}")
  foreach(span ${spans})
    string(REGEX REPLACE "^`(.*)`$" "\\1" path "${span}")
    string(REGEX REPLACE "[:,]$" "" path "${path}")
    if(path MATCHES "[<>*{}$ ]|NN|PACK" OR path MATCHES "^build")
      continue()
    endif()
    if(path MATCHES "^(${roots})" OR path MATCHES "^(${root_files})$")
      math(EXPR checked "${checked} + 1")
      check_path("${doc}" "${path}" "${SOURCE_DIR}/${path}")
    endif()
  endforeach()
  string(REGEX MATCHALL "\\]\\([^)]+\\)" links "${text}")
  foreach(link ${links})
    string(REGEX REPLACE "^\\]\\(([^)#]*).*$" "\\1" path "${link}")
    if(path STREQUAL "" OR path MATCHES "^[a-z]+:")
      continue()
    endif()
    math(EXPR checked "${checked} + 1")
    check_path("${doc}" "${path}" "${doc_dir}/${path}")
  endforeach()
endforeach()

if(NOT missing STREQUAL "")
  message(FATAL_ERROR "documents name paths that do not exist:${missing}")
endif()
message(STATUS "${checked} paths named in the documents exist")
