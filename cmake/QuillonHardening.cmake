# The programs hardened as the distributions build their own, by the build itself: the release
# and windows presets turn QUILLON_HARDEN on, so every package is made from hardened programs
# whoever builds it. They parse files and serial input, so a bad byte must not become a
# foreign program.
#
#   every platform  -fstack-protector-strong (a smashed stack ends the program) and
#                   _FORTIFY_SOURCE=2 (memory and string calls whose size the compiler knows
#                   are checked), the latter only where the optimiser runs, which it needs
#   Linux           -fstack-clash-protection, -fcf-protection where the compiler has them;
#                   position-independent executables; relocations read-only and bound at
#                   start (-z relro -z now)
#   Windows         ASLR with 64-bit entropy and no executable data (--dynamicbase,
#                   --high-entropy-va, --nxcompat), stated rather than left to the linker's
#                   defaults. Windows probes every stack page itself, and this linker cannot
#                   mark a program for hardware shadow stacks, so neither Linux-only flag
#                   would add anything there.
option(QUILLON_HARDEN "Build hardened programs (stack protector, fortified calls, full RELRO, PIE)"
       OFF)
if(NOT QUILLON_HARDEN)
  return()
endif()

include(CheckCXXCompilerFlag)

# A compiler may define its own _FORTIFY_SOURCE level; this build's is the one that counts.
add_compile_options(-U_FORTIFY_SOURCE $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>
                    -fstack-protector-strong)
# mingw-w64 keeps the checks in a library of their own, which the flag brings in at link time.
add_link_options(-fstack-protector-strong)

if(WIN32)
  add_link_options(LINKER:--dynamicbase LINKER:--high-entropy-va LINKER:--nxcompat)
  return()
endif()

foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "quillon_has${flag}" known)
  check_cxx_compiler_flag(${flag} ${known})
  if(${known})
    add_compile_options(${flag})
  endif()
endforeach()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_link_options(LINKER:-z,relro LINKER:-z,now)
