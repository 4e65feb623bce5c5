# The same commit gives the same Pulmetra.exe, byte for byte, wherever it is
# checked out and whenever it is built: hospitals can rebuild what they were given.
if(WIN32)
  # __FILE__ and any debug information name sources relative to the tree.
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
  # The PE header gets no link time.
  add_link_options(-Wl,--no-insert-timestamp)
endif()
