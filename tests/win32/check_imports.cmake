# Fails unless every DLL that PROGRAM imports is one of Windows' own: the golfer gets one .exe
# and nothing to put beside it. Run as
#   cmake -DOBJDUMP=x86_64-w64-mingw32-objdump -DPROGRAM=quillon.exe -P check_imports.cmake
cmake_minimum_required(VERSION 3.25)
# oleacc, ole32 and oleaut32 carry the names screen readers read; every Windows has them.
set(windows_own kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll advapi32.dll
                msvcrt.dll oleacc.dll ole32.dll oleaut32.dll)

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
