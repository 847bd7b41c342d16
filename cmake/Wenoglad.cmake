# Shared build settings: warnings, sanitizers and the one-target-per-layer helper.

add_library(wenoglad_options INTERFACE)
target_compile_options(wenoglad_options INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wsuggest-override)
target_include_directories(wenoglad_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_definitions(wenoglad_options INTERFACE
  QT_NO_KEYWORDS
  WENOGLAD_VERSION="${PROJECT_VERSION}")
if(WENOGLAD_SANITIZE)
  target_compile_options(wenoglad_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(wenoglad_options INTERFACE -fsanitize=address,undefined)
endif()

# wenoglad_layer(NAME DEPS ...): a static library of every source under the layer's folder.
function(wenoglad_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$|\\.qrc$")
  list(FILTER sources EXCLUDE REGEX "/CMakeFiles/")
  if(NOT sources MATCHES "\\.cpp")
    # A layer without code yet still passes its dependencies on.
    add_library(wenoglad_${name} INTERFACE)
    target_link_libraries(wenoglad_${name} INTERFACE wenoglad_options ${ARG_DEPS})
    return()
  endif()
  add_library(wenoglad_${name} STATIC ${sources})
  target_link_libraries(wenoglad_${name} PUBLIC wenoglad_options ${ARG_DEPS})
endfunction()
