# A module that the programs load with dlopen on first use, so that only the
# runs that need its libraries load them: beside the programs in the build
# tree, in the library folder when installed. Its interface with the programs
# is plain C (module_interfaces): it brings the shared C++ runtime, while
# tabulon-cli carries a static one.
#
#   tabulon_module(<name> SOURCES <file>... [LINK <library>...])
function(tabulon_module name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINK")
    add_library(${name} MODULE ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE module_interfaces ${arg_LINK} tabulon_warnings)
    set_target_properties(${name} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
                                             CXX_VISIBILITY_PRESET hidden)
    install(TARGETS ${name} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tabulon)
endfunction()
