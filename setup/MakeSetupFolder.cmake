# Makes the setup folder from the build's own files: the application cabinet (the main program
# under its installed name and the uninstaller), the database cabinet (the shipped backup and
# the database restored from it), the workstation's uninstaller cabinet, the licence and the
# database server's texts.
# Inputs: PROGRAM, BACKUP, GBAK, GCAB, SOURCE (setup/folder), WORK, OUT.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/app ${WORK}/db ${WORK}/uninst ${OUT}/FB)

file(COPY_FILE ${PROGRAM} ${WORK}/app/Kinodesk.exe)
file(COPY_FILE ${SOURCE}/Uninstall.sh ${WORK}/app/Uninstall.exe)
file(COPY_FILE ${SOURCE}/Uninstall.sh ${WORK}/uninst/unicinemon.exe)

file(COPY_FILE ${BACKUP} ${WORK}/db/CINEMON.GBK)
execute_process(COMMAND ${GBAK} -c ${WORK}/db/CINEMON.GBK ${WORK}/db/CINEMON.GDB
                RESULT_VARIABLE restored OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT restored EQUAL 0)
    message(FATAL_ERROR "Restoring the delivered database failed: ${output}")
endif()

function(make_cabinet name folder)
    file(GLOB files RELATIVE ${folder} ${folder}/*)
    list(SORT files)
    file(REMOVE ${OUT}/${name})
    execute_process(COMMAND ${GCAB} -c -z ${OUT}/${name} ${files} WORKING_DIRECTORY ${folder}
                    RESULT_VARIABLE made ERROR_VARIABLE output)
    if(NOT made EQUAL 0)
        message(FATAL_ERROR "Making ${name} failed: ${output}")
    endif()
endfunction()
make_cabinet(_app.cab ${WORK}/app)
make_cabinet(_db.cab ${WORK}/db)
make_cabinet(_uninst.cab ${WORK}/uninst)

file(COPY_FILE ${SOURCE}/licence.rtf ${OUT}/licence.rtf)
file(COPY_FILE ${SOURCE}/FB/IPLicense.txt ${OUT}/FB/IPLicense.txt)
file(COPY_FILE ${SOURCE}/FB/Readme.txt ${OUT}/FB/Readme.txt)
file(TOUCH ${OUT}/.complete)
