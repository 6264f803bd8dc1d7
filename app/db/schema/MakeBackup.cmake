# Builds a fresh database from the schema script with isql and writes the shipped backup
# with gbak. Called as: cmake -DISQL=… -DGBAK=… -DSCHEMA=… -DWORK=… -DOUT=… -P MakeBackup.cmake
set(db "${WORK}/Cinemon-schema.fdb")
file(REMOVE "${db}" "${OUT}")
file(READ "${SCHEMA}" schema)
file(WRITE "${WORK}/Cinemon-schema.sql"
    "SET NAMES UTF8;\nCREATE DATABASE '${db}' USER 'SYSDBA' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1250;\n${schema}")

execute_process(COMMAND "${ISQL}" -q -bail -ch UTF8 -i "${WORK}/Cinemon-schema.sql"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR err MATCHES "failed|error|Error")
    message(FATAL_ERROR "The schema script failed:\n${out}\n${err}")
endif()

execute_process(COMMAND "${GBAK}" -b -user SYSDBA "${db}" "${OUT}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE "${db}")
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gbak could not back up the schema database:\n${out}\n${err}")
endif()
