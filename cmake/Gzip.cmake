# cmake -DIN=file -DOUT=file.gz [-DVERSION=x.y] -P Gzip.cmake: compresses one
# file as Debian wants installed documentation and man pages (gzip -9n: no
# name, no time stamp), after putting the version in for "@VERSION@".
cmake_minimum_required(VERSION 3.22)  # run alone (-P), the script sets its own policies
file(READ ${IN} text)
if(DEFINED VERSION)
  string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
endif()
file(WRITE ${OUT}.in "${text}")
find_program(GZIP gzip)
if(GZIP)
  execute_process(COMMAND ${GZIP} -9n -c ${OUT}.in OUTPUT_FILE ${OUT}.tmp RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip failed on ${IN}")
  endif()
else()
  file(ARCHIVE_CREATE OUTPUT ${OUT}.tmp PATHS ${OUT}.in FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)
endif()
file(REMOVE ${OUT}.in)
file(RENAME ${OUT}.tmp ${OUT})
