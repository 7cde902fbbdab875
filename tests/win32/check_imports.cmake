# Fails unless every DLL that PROGRAM imports is one of Windows' own (the golfer gets one .exe
# and nothing to put beside it), and unless the program's own code makes no narrow (code-page)
# call: on Windows 8.1 and the Windows 10 releases before 1903 a narrow call cannot name a
# folder under "Łukasz" or "測試" on a Western-European system. Run as
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DNM=x86_64-w64-mingw32-nm -DPROGRAM=quillon.exe
#         "-DOWN_CODE=main.obj;libquillon_pages.a;..." -P check_imports.cmake
# OWN_CODE is the program's own objects and libraries, read for what they call; the program's
# import table shows what the C and C++ runtime linked into it calls as well.
cmake_minimum_required(VERSION 3.25)
# oleacc, ole32 and oleaut32 carry the names screen readers read; every Windows has them.
set(windows_own kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll advapi32.dll
                msvcrt.dll oleacc.dll ole32.dll oleaut32.dll)
# The narrow calls of the statically linked runtime, none with a path or a text of the
# program's: winpthreads' unnamed events and its own debugger messages, libssp's random canary
# (no key container) and its console ("CONOUT$") for the message after a smashed stack,
# libstdc++'s system error texts, and the handle of a DLL named in ASCII.
set(runtime_narrow_calls CreateEventA OutputDebugStringA CryptAcquireContextA _open
                         CreateSemaphoreA FormatMessageA GetModuleHandleA)
# The C runtime's narrow file calls: each takes a path in the code page.
set(narrow_file_calls fopen freopen _open _sopen _access _stat _stat32 _stat64 _stati64 _unlink
                      remove rename _mkdir _rmdir _chdir _findfirst _findfirst64 _fullpath)

# The narrow calls among `names`, into `out`: the code-page twin of a Windows call ends in A
# after a lower-case letter or a digit (CreateFileA); the C runtime's are listed above.
function(narrow_among names out)
  set(found)
  foreach(name IN LISTS names)
    if(name MATCHES "[a-z0-9]A$" OR name IN_LIST narrow_file_calls)
      list(APPEND found ${name})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM}
                OUTPUT_VARIABLE dump ERROR_VARIABLE problem RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${PROGRAM}: ${problem}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${PROGRAM} names no DLL at all: not a Windows program?")
endif()
set(foreign)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: *" "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" lower)
  message(STATUS "imports ${dll}")
  if(NOT lower IN_LIST windows_own)
    list(APPEND foreign ${dll})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${PROGRAM} needs DLLs that Windows does not have: ${foreign}")
endif()

# Each imported function is a line "<address> <hint> <name>" below its DLL's name; binutils
# 2.44 (Debian 13) puts the ordinal before the hint ("<address> <none> <hint> <name>").
string(REGEX MATCHALL "\n[ \t]+[0-9a-f]+[ \t]+(<none>[ \t]+|[0-9]+[ \t]+)?[0-9a-f]+[ \t]+[A-Za-z_][A-Za-z0-9_]*"
       entries "${dump}")
set(imported)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE ".*[ \t]" "" name "${entry}")
  list(APPEND imported ${name})
endforeach()
list(LENGTH imported count)
if(count LESS 50)
  message(FATAL_ERROR "read only ${count} imported functions from ${PROGRAM}: objdump's layout?")
endif()
narrow_among("${imported}" narrow)
list(REMOVE_ITEM narrow ${runtime_narrow_calls})
if(narrow)
  message(FATAL_ERROR "${PROGRAM} imports narrow calls; use their UTF-16 twins: ${narrow}")
endif()

# The program's own code calls Windows and the C runtime through import pointers (__imp_Name)
# or by name.
set(own_narrow)
foreach(piece IN LISTS OWN_CODE)
  execute_process(COMMAND ${NM} -u ${piece} OUTPUT_VARIABLE undefined RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${NM} cannot read ${piece}")
  endif()
  string(REGEX MATCHALL "U [A-Za-z_][A-Za-z0-9_]*" calls "${undefined}")
  list(TRANSFORM calls REPLACE "^U (__imp_)?" "")
  narrow_among("${calls}" narrow)
  if(narrow)
    get_filename_component(name ${piece} NAME)
    list(REMOVE_DUPLICATES narrow)
    list(APPEND own_narrow "${name}: ${narrow}")
  endif()
endforeach()
if(NOT OWN_CODE)
  message(FATAL_ERROR "no OWN_CODE given: the program's own calls cannot be read")
endif()
if(own_narrow)
  string(REPLACE ";" ", " own_narrow "${own_narrow}")
  message(FATAL_ERROR "the program's own code makes narrow calls; use their UTF-16 twins: "
                      "${own_narrow}")
endif()
message(STATUS "${count} functions imported; no narrow call of the program's own")
