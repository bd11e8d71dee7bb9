# cmake -DIN=file -DOUT=file.gz -P Gzip.cmake: compresses one file (man pages
# are installed compressed, as Debian wants them).
file(ARCHIVE_CREATE OUTPUT ${OUT}.tmp PATHS ${IN} FORMAT raw COMPRESSION GZip COMPRESSION_LEVEL 9)
file(RENAME ${OUT}.tmp ${OUT})
