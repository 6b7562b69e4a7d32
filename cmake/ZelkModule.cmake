# Modules and their include roots.
#
# Every module of src/ is one static library.  Its headers are reached as
# "<folder>/<Header>.h" through an include root of its own: a directory in the
# build tree that holds nothing but a link to the module's folder.  A target
# therefore sees the headers of the modules it links and of no other, so an
# include that reaches up a layer (or sideways into a module not linked)
# fails to compile instead of quietly working.

# zelk_include_root(<target> <folder>)
# Gives <target> the include root that exposes src/<folder> as "<folder>/...".
function(zelk_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# zelk_module(<target> <folder>
#             [PUBLIC <modules and libraries its headers include>...]
#             [PRIVATE <modules and libraries only its sources include>...]
#             [EXCLUDE <files of the folder that are not part of the library>...])
# One library of every .cpp file directly in src/<folder>.
function(zelk_module target folder)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${PROJECT_SOURCE_DIR}/src/${folder}/${excluded})
  endforeach()
  add_library(${target} STATIC ${sources})
  zelk_include_root(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()
