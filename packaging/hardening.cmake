# The hardening a Debian package is expected to have, for every target that
# follows (orb, tools, extension libraries): position-independent
# executables, a read-only GOT bound at load time, fortified libc calls and
# a stack protector. Include it after project() and before the targets.
# The sanitizer builds leave it out: fortified calls bypass ASan's checks.
if(VIGIL_SANITIZE OR VIGIL_FUZZ)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong)
# Fortification needs an optimising build; -U first in case the compiler
# predefines another level.
add_compile_options(
  "$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
add_link_options(LINKER:-z,relro LINKER:-z,now)
