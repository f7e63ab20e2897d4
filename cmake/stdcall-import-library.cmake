# Rewrites the 32-bit DLL's import library so that C callers compiled from
# velinst.h link without stdcall fix-ups: the header declares the exports
# __stdcall, so callers reference `_VEL_ShellExec@8`, while the DLL exports
# the plain `VEL_ShellExec`. The @N sizes are read from the compiled exports
# themselves, so they are the sizes the DLL pops.
# cmake -DNM=... -DDLLTOOL=... -DDEF=out.def -DIMPORT_LIBRARY=velinst.dll.a -DARCHIVES="a|b" -P this
string(REPLACE "|" ";" archives "${ARCHIVES}")
set(names)
foreach(archive IN LISTS archives)
  execute_process(COMMAND ${NM} -g --defined-only ${archive} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " T _VEL_[A-Za-z0-9_]+@[0-9]+" found "${symbols}")
  foreach(symbol IN LISTS found)
    string(REGEX REPLACE "^ T _" "" symbol "${symbol}")
    list(APPEND names ${symbol})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES names)
list(SORT names)
if(NOT names)
  message(FATAL_ERROR "no stdcall VEL_ exports found in ${ARCHIVES}")
endif()
list(JOIN names "\n    " lines)
file(WRITE ${DEF} "LIBRARY velinst.dll\nEXPORTS\n    ${lines}\n")
execute_process(COMMAND ${DLLTOOL} --input-def ${DEF} --dllname velinst.dll --kill-at --output-lib ${IMPORT_LIBRARY}
  COMMAND_ERROR_IS_FATAL ANY)
