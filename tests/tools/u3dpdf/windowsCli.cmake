# u3dpdf.exe as a user on Windows runs it, under Wine: it finds u3dpdf.dll
# in the build tree, converts a model without touching it, writes a PDF that
# qpdf accepts and whose 3D stream is the model, and fails cleanly on input
# it cannot read and on a module it cannot load, says what a model holds and
# lists U3D as the one format it reads. QPDF is the build machine's
# qpdf, or empty when there is none: then the PDF goes unchecked and the test
# reports itself skipped, naming qpdf.
#   cmake -DWINE=... -DQPDF=... -DCLI=u3dpdf.exe -DMODEL=torus.u3d -DWORK=dir -P windowsCli.cmake
foreach(var WINE QPDF CLI MODEL WORK)
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
# Standard output gets the same bytes (no text mode turning LF into CR LF);
# an existing directory gets the model's name.
execute_process(COMMAND "${WINE}" "${CLI}" convert model.u3d -o - --bbox -4 -4 -1 4 4 1
  WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE result OUTPUT_FILE "${WORK}/piped.pdf" ERROR_VARIABLE err)
file(SHA256 "${WORK}/out.pdf" out_hash)
file(SHA256 "${WORK}/piped.pdf" piped_hash)
if(NOT result EQUAL 0 OR NOT piped_hash STREQUAL out_hash)
  message(FATAL_ERROR "convert -o - exited ${result} or wrote other bytes than -o out.pdf: ${err}")
endif()
file(MAKE_DIRECTORY "${WORK}/pdfs")
run_cli(convert model.u3d -o pdfs --bbox -4 -4 -1 4 4 1)
file(SHA256 "${WORK}/pdfs/model.pdf" dir_hash)
if(NOT result EQUAL 0 OR NOT dir_hash STREQUAL out_hash)
  message(FATAL_ERROR "convert -o pdfs exited ${result} or wrote no pdfs/model.pdf: ${err}")
endif()
file(REMOVE_RECURSE "${WORK}/pdfs" "${WORK}/piped.pdf")
# Nothing but the model and the PDF is left behind: the
# hidden link through which the module read the model is gone.
file(GLOB left RELATIVE "${WORK}" "${WORK}/*")
list(SORT left)
if(NOT left STREQUAL "model.u3d;out.pdf")
  message(FATAL_ERROR "files left behind: ${left}")
endif()
if(QPDF)
  execute_process(COMMAND "${QPDF}" --check "${WORK}/out.pdf" RESULT_VARIABLE qpdf_check OUTPUT_QUIET)
  execute_process(COMMAND "${QPDF}" --show-object=8 --filtered-stream-data "${WORK}/out.pdf"
    OUTPUT_FILE "${WORK}/embedded.u3d" RESULT_VARIABLE qpdf_show)
  file(SHA256 "${WORK}/embedded.u3d" embedded_hash)
  if(NOT qpdf_check EQUAL 0 OR NOT qpdf_show EQUAL 0 OR NOT embedded_hash STREQUAL model_hash)
    message(FATAL_ERROR "qpdf refused out.pdf (${qpdf_check}, ${qpdf_show}) or its 3D stream is not the model")
  endif()
endif()

# The default view aimed at the box's centre.
run_cli(convert model.u3d -o centred.pdf --bbox 100 -20 5 104 -16 13 --center)
file(STRINGS "${WORK}/centred.pdf" view REGEX "^/(C2W|CO) ")
if(NOT result EQUAL 0 OR NOT view MATCHES "^/C2W \\[[-0-9. ]* 112\\.8 -9\\.18184 19\\.8 \\]\r?;/CO 17\\.63633\r?$")
  message(FATAL_ERROR "convert --center exited ${result} or placed the camera elsewhere: ${err}")
endif()
file(REMOVE "${WORK}/centred.pdf")

# A conversion the module refuses: exit 1 and the module's reason.
run_cli(convert model.u3d -o missing/out.pdf)
if(NOT result EQUAL 1 OR NOT err MATCHES "^u3dpdf: the module could not convert model.u3d to missing/out.pdf: cannot write missing/out.pdf: the directory missing does not exist\r?\n$")
  message(FATAL_ERROR "convert into a missing directory exited ${result}: ${err}")
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

# What the model holds, and a file that is not U3D refused before any PDF.
run_cli(info model.u3d)
if(NOT result EQUAL 0 OR NOT out MATCHES "model instances: 1\r?\nworld box: -4 -4 -1 4 4 1")
  message(FATAL_ERROR "info exited ${result}: ${out}${err}")
endif()
file(WRITE "${WORK}/part.u3d" "solid part\n  facet normal 0 0 1\n")
run_cli(convert part.u3d -o part.pdf)
if(NOT result EQUAL 2 OR EXISTS "${WORK}/part.pdf"
   OR NOT err MATCHES "^u3dpdf: part.u3d: block 0x696C6F73 at offset 0: not a U3D file")
  message(FATAL_ERROR "convert of a file that is not U3D exited ${result}: ${err}")
endif()

# This build has no assimp: U3D is the one format it reads.
run_cli(formats)
if(NOT result EQUAL 0 OR NOT out MATCHES "^u3d +Universal 3D \\(U3D\\)\r?\n$")
  message(FATAL_ERROR "formats exited ${result}: ${out}${err}")
endif()

file(REMOVE_RECURSE "${WORK}")
if(NOT QPDF)
  # The test's SKIP_REGULAR_EXPRESSION.
  message("[  SKIPPED ] qpdf was not found when the build was configured (U3DPDF_QPDF): out.pdf went unchecked")
endif()
