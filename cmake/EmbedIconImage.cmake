# cmake -DICON=file.ico -DOUTPUT=file.inc -P EmbedIconImage.cmake
# Writes the bytes of the icon file's first image as a C initialiser list: the image that the
# Windows programs carry as their icon resource 1.
file(READ "${ICON}" header LIMIT 22 HEX)
# Directory entry 0 starts at byte 6: size at bytes 14..17, offset at 18..21 (little-endian).
function(read_le32 hex at out)
    set(value 0)
    foreach(i 3 2 1 0)
        math(EXPR pos "(${at} + ${i}) * 2")
        string(SUBSTRING "${hex}" ${pos} 2 byte)
        math(EXPR value "${value} * 256 + 0x${byte}")
    endforeach()
    set(${out} ${value} PARENT_SCOPE)
endfunction()
read_le32("${header}" 14 size)
read_le32("${header}" 18 offset)
file(READ "${ICON}" image OFFSET ${offset} LIMIT ${size} HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," image "${image}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" image "${image}")
file(WRITE "${OUTPUT}.tmp" "${image}\n")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
