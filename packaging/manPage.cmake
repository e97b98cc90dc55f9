# Writes the manual page u3dpdf.1 from the help texts of the built u3dpdf:
# the program's help gives the synopsis and the description, each command's
# help a section of its own. The page cannot disagree with the program.
#   cmake -DCLI=path/to/u3dpdf -DVERSION=0.1.0 -DOUT=u3dpdf.1 -P manPage.cmake
foreach(var CLI VERSION OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "manPage.cmake needs -D${var}=")
  endif()
endforeach()

# The help text of "u3dpdf ARGS...", which must succeed.
function(help_text out)
  execute_process(COMMAND ${CLI} ${ARGN}
    RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "u3dpdf ${ARGN} exited ${result}: ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Text as roff shows it verbatim in no-fill mode: backslashes and minus signs
# escaped, a line that starts with a control character protected.
function(roff_verbatim out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  # A line with nothing on it is a request to groff's line-break rules in
  # some modes; an explicit empty line says the same everywhere.
  string(REGEX REPLACE "(^|\n)\n" "\\1.sp\n" text "${text}")
  string(REGEX REPLACE "(^|\n)\n" "\\1.sp\n" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_text(program --help)
# The usage lines are the first paragraph, the description the rest.
string(FIND "${program}" "\n\n" usage_end)
string(SUBSTRING "${program}" 0 ${usage_end} usage)
math(EXPR rest_begin "${usage_end} + 2")
string(SUBSTRING "${program}" ${rest_begin} -1 description)
string(REGEX REPLACE "(^|\n)(Usage:)? +" "\\1" usage "${usage}")

# The commands, as the program's help lists them: "  NAME ..." lines
# between "Commands:" and the next empty line.
string(REGEX MATCH "\nCommands:\n[^\n]+(\n[^\n]+)*" command_block "${program}")
string(REGEX MATCHALL "\n  [a-z]+ " command_lines "${command_block}")
set(commands)
foreach(line IN LISTS command_lines)
  string(STRIP "${line}" name)
  list(APPEND commands ${name})
endforeach()
if(NOT commands)
  message(FATAL_ERROR "u3dpdf --help lists no commands")
endif()

roff_verbatim(usage "${usage}")
roff_verbatim(description "${description}")
set(page ".TH U3DPDF 1 \"\" \"u3dpdf ${VERSION}\" \"User Commands\"
.SH NAME
u3dpdf \\- convert 3D models into PDF documents with an interactive 3D view
.SH SYNOPSIS
.nf
${usage}
.fi
.SH DESCRIPTION
.nf
${description}.fi
.SH COMMANDS
")
foreach(command IN LISTS commands)
  help_text(text ${command} --help)
  roff_verbatim(text "${text}")
  string(APPEND page ".SS ${command}\n.nf\n${text}.fi\n")
endforeach()
help_text(text --version --help)
roff_verbatim(text "${text}")
string(APPEND page ".SS \\-\\-version\n.nf\n${text}.fi\n")
string(APPEND page ".SH SEE ALSO
The README in the documentation directory (/usr/share/doc/u3dpdf on Debian)
describes the host SDK, the module's request and capability trees and the
diagnostic environment variables.
")
file(WRITE "${OUT}" "${page}")
