# `make install`: lumox and every tool program built into <build>/bin go to
# <prefix>/bin, the client library and its header to lib/ and include/, the
# manual pages to share/man/man1, and the app-defaults file to
# share/X11/app-defaults/lumox (the application class). The help files are installed by help/CMakeLists.txt. Honours
# CMAKE_INSTALL_PREFIX (the Makefile's PREFIX) and DESTDIR.

install(TARGETS lumox RUNTIME DESTINATION bin)

# The programs of tools/ that build into bin/; test programs stay behind.
get_property(tool_dirs DIRECTORY ${PROJECT_SOURCE_DIR}/tools PROPERTY SUBDIRECTORIES)
foreach(d ${tool_dirs})
  get_property(targets DIRECTORY ${d} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    get_target_property(outdir ${t} RUNTIME_OUTPUT_DIRECTORY)
    if(type STREQUAL "EXECUTABLE" AND outdir STREQUAL "${PROJECT_BINARY_DIR}/bin")
      install(TARGETS ${t} RUNTIME DESTINATION bin)
    endif()
  endforeach()
endforeach()

if(TARGET lumoxclient)
  install(TARGETS lumoxclient ARCHIVE DESTINATION lib)
  install(FILES ${PROJECT_SOURCE_DIR}/tools/lumox-client/lumox_client.h DESTINATION include)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/app/resources/lumox.ad DESTINATION share/X11/app-defaults RENAME lumox)

file(GLOB man_pages ${PROJECT_SOURCE_DIR}/man/*.1)
install(FILES ${man_pages} DESTINATION share/man/man1)
