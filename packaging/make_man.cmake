# Writes the manual page of twinex-cli from its --help text:
#   cmake -DPROGRAM=... -DOUTPUT=... -DVERSION=... -DSCRATCH=<empty folder> -P make_man.cmake
# English captions, and no user's settings that could choose another language.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LANG=C.UTF-8 LANGUAGE= LC_ALL= XDG_DATA_HOME=${SCRATCH}
                        HOME=${SCRATCH} ${PROGRAM} --help
                OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${rc}")
endif()
# roff: a backslash is written twice; a line starting with "." or "'" is protected.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
file(WRITE ${OUTPUT} ".TH TWINEX-CLI 1 \"\" \"Twinex ${VERSION}\" \"User Commands\"
.SH NAME
twinex-cli \\- find duplicate and similar files from a terminal
.SH DESCRIPTION
.nf
${help}.fi
.SH SEE ALSO
.BR twinex (1)
")
