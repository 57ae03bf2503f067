# Run by cpack on the staged files before the .deb is built: Depends as
# dpkg-shlibdeps finds it in the ELF files, plus what no binary links, each
# package once. CPack's own dpkg-shlibdeps would also give the private
# extension libraries an ldconfig trigger. Without dpkg-shlibdeps the list of
# CMakeLists.txt stays.
find_program(dpkg_shlibdeps dpkg-shlibdeps)
if(NOT dpkg_shlibdeps)
  message(STATUS "vigil-panel: no dpkg-shlibdeps, Depends as written")
  return()
endif()

set(staged "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE staged_files LIST_DIRECTORIES false "${staged}/*")
set(elf_arguments)
foreach(file IN LISTS staged_files)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    list(APPEND elf_arguments "-e${file}")
  endif()
endforeach()
if(NOT elf_arguments)
  message(FATAL_ERROR "vigil-panel: no ELF file in ${staged}")
endif()

# dpkg-shlibdeps wants to run beside a debian/control.
set(work "${CPACK_TOPLEVEL_DIRECTORY}/shlibdeps")
file(MAKE_DIRECTORY "${work}/debian")
file(WRITE "${work}/debian/control" "")
execute_process(
  COMMAND "${dpkg_shlibdeps}" -O ${elf_arguments}
  WORKING_DIRECTORY "${work}"
  RESULT_VARIABLE status
  OUTPUT_VARIABLE found
  ERROR_VARIABLE complaints)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "vigil-panel: dpkg-shlibdeps failed:\n${complaints}")
endif()
string(REGEX MATCH "shlibs:Depends=([^\n]*)" found "${found}")
set(depends "${CMAKE_MATCH_1}")

# Add a package of the unlinked list only when dpkg-shlibdeps named none of
# that name.
string(REPLACE ", " ";" unlinked "${CPACK_VIGIL_UNLINKED_DEPENDS}")
foreach(package IN LISTS unlinked)
  string(REGEX MATCH "^[^ ]+" name "${package}")
  string(REPLACE "." "\\." name_pattern "${name}")
  string(REPLACE "+" "\\+" name_pattern "${name_pattern}")
  if(NOT ", ${depends}," MATCHES ", ${name_pattern}[ ,]")
    string(APPEND depends ", ${package}")
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${depends}")
message(STATUS "vigil-panel: Depends: ${depends}")
