# u3dpdf.exe as a user on Windows runs it, under Wine: it finds u3dpdf.dll
# in the build tree, converts a model without touching it, writes a PDF that
# qpdf accepts and whose 3D stream is the model, and fails cleanly on input
# it cannot read and on a module it cannot load.
#   cmake -DWINE=... -DCLI=u3dpdf.exe -DMODEL=torus.u3d -DWORK=dir -P windowsCli.cmake
foreach(var WINE CLI MODEL WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "windowsCli.cmake needs -D${var}=")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY_FILE "${MODEL}" "${WORK}/model.u3d")
file(SHA256 "${WORK}/model.u3d" model_hash)

# Runs u3dpdf.exe in WORK; sets result, out and err.
macro(run_cli)
  execute_process(COMMAND "${WINE}" "${CLI}" ${ARGN}
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
endmacro()

# A conversion that works.
run_cli(convert model.u3d -o out.pdf --bbox -4 -4 -1 4 4 1)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK}/out.pdf")
  message(FATAL_ERROR "convert exited ${result} and wrote no out.pdf: ${err}")
endif()
file(SHA256 "${WORK}/model.u3d" hash_after)
if(NOT hash_after STREQUAL model_hash)
  message(FATAL_ERROR "convert changed model.u3d")
endif()
execute_process(COMMAND qpdf --check "${WORK}/out.pdf" RESULT_VARIABLE qpdf_check OUTPUT_QUIET)
execute_process(COMMAND qpdf --show-object=8 --filtered-stream-data "${WORK}/out.pdf"
  OUTPUT_FILE "${WORK}/embedded.u3d" RESULT_VARIABLE qpdf_show)
file(SHA256 "${WORK}/embedded.u3d" embedded_hash)
if(NOT qpdf_check EQUAL 0 OR NOT qpdf_show EQUAL 0 OR NOT embedded_hash STREQUAL model_hash)
  message(FATAL_ERROR "qpdf refused out.pdf (${qpdf_check}, ${qpdf_show}) or its 3D stream is not the model")
endif()
# Nothing but the model, the PDF and the extracted copy is left behind.
file(GLOB left RELATIVE "${WORK}" "${WORK}/*")
list(SORT left)
if(NOT left STREQUAL "embedded.u3d;model.u3d;out.pdf")
  message(FATAL_ERROR "files left behind: ${left}")
endif()

# Input that cannot be read: exit 2, one message, no PDF.
run_cli(convert missing.u3d -o missing.pdf)
if(NOT result EQUAL 2 OR NOT err MATCHES "^u3dpdf: cannot read missing.u3d" OR EXISTS "${WORK}/missing.pdf")
  message(FATAL_ERROR "convert of a missing model exited ${result}: ${err}")
endif()

# A module that cannot be loaded.
run_cli(caps --module nowhere.dll)
if(NOT result EQUAL 2 OR NOT err MATCHES "^u3dpdf: cannot load the module: [.\\\\]*nowhere.dll: ")
  message(FATAL_ERROR "caps with a missing module exited ${result}: ${err}")
endif()

# The capability tree from the DLL.
run_cli(caps)
if(NOT result EQUAL 0 OR NOT out MATCHES "\"U3D Translator DLL\"")
  message(FATAL_ERROR "caps exited ${result}: ${out}${err}")
endif()

# Several models at once: each in a worker started with CreateProcess, one
# line per model in the order given, a failure leaving the others alone.
file(COPY_FILE "${WORK}/model.u3d" "${WORK}/second.u3d")
run_cli(convert model.u3d missing.u3d second.u3d -d batch -j 2 --bbox -4 -4 -1 4 4 1)
string(REPLACE "\r" "" out "${out}")
set(lines "model.u3d -> batch[/\\]model.pdf\nmissing.u3d: failed: cannot read missing.u3d: [^\n]*\n")
string(APPEND lines "second.u3d -> batch[/\\]second.pdf\n")
if(NOT result EQUAL 2 OR NOT out MATCHES "^${lines}$" OR NOT EXISTS "${WORK}/batch/model.pdf"
   OR NOT EXISTS "${WORK}/batch/second.pdf" OR EXISTS "${WORK}/batch/missing.pdf")
  message(FATAL_ERROR "batch convert exited ${result}: ${out}${err}")
endif()
execute_process(COMMAND qpdf --check "${WORK}/batch/second.pdf" RESULT_VARIABLE qpdf_check OUTPUT_QUIET)
if(NOT qpdf_check EQUAL 0)
  message(FATAL_ERROR "qpdf refused batch/second.pdf")
endif()

# This build reads U3D only: a model of another format is refused with
# the reason, by convert and by u3d, and nothing is written.
file(WRITE "${WORK}/part.stl" "solid part\nendsolid part\n")
foreach(command convert u3d)
  run_cli(${command} part.stl -o part.out)
  if(NOT result EQUAL 2 OR NOT err MATCHES "^u3dpdf: part.stl is not a U3D file, and this build reads U3D only"
     OR EXISTS "${WORK}/part.out")
    message(FATAL_ERROR "${command} of an STL exited ${result}: ${err}")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
