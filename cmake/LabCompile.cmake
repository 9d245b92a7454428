# Warnings and sanitizers shared by every target of the project.
add_library(lab_options INTERFACE)
target_compile_options(lab_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
if(LAB_WERROR)
  target_compile_options(lab_options INTERFACE -Werror)
endif()
target_compile_definitions(lab_options INTERFACE QT_NO_KEYWORDS QT_USE_QSTRINGBUILDER)
if(LAB_SANITIZE)
  target_compile_options(lab_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lab_options INTERFACE -fsanitize=address,undefined)
endif()

# A static library of one src folder. Each library sees only its own folder and the folders of
# the libraries it links: its include root is a folder of the build tree that holds nothing but
# a link to its own source folder, so code writes "toolkit/LabWindow.h", "lab/Numbers.h" and so
# on, and a lower library that includes a higher one's header does not compile.
function(lab_add_library name folder)
  add_library(${name} STATIC ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/include-roots/${name})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC lab_options)
endfunction()
