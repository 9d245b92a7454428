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

# A static library of one src folder. Every library sees the src folder as include root,
# so code includes "toolkit/LabWindow.h", "core/LabState.h" and so on.
function(lab_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC lab_options)
endfunction()
