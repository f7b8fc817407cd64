# Draws the tool-bar strip and the program icon with ImageMagick:
#   cmake -DCONVERT=<convert> -DOUT=<folder> -P MakeImages.cmake
# Magenta (#FF00FF) is the strip's transparent colour.

# One 16 x 16 image per index, as ImageMagick drawing primitives.
set(_blue "fill #1F4FB0 stroke none")
set(_page "fill white stroke black rectangle 3,1 12,14")
set(_folder "fill #F0C840 stroke #806010 polygon 1,4 5,4 6,5 14,5 14,13 1,13")
set(images
  # 0 large icons
  "${_blue} rectangle 1,1 6,6 rectangle 9,1 14,6 rectangle 1,9 6,14 rectangle 9,9 14,14"
  # 1 small icons
  "${_blue} rectangle 1,2 3,4 rectangle 9,2 11,4 rectangle 1,10 3,12 rectangle 9,10 11,12 fill black rectangle 5,3 7,3 rectangle 13,3 14,3 rectangle 5,11 7,11 rectangle 13,11 14,11"
  # 2 list
  "${_blue} rectangle 1,1 3,3 rectangle 1,6 3,8 rectangle 1,11 3,13 fill black rectangle 5,2 14,2 rectangle 5,7 14,7 rectangle 5,12 14,12"
  # 3 details
  "fill white stroke black rectangle 0,1 15,14 fill #C0C0C0 stroke none rectangle 1,2 14,4 fill black rectangle 2,6 5,6 rectangle 7,6 13,6 rectangle 2,9 5,9 rectangle 7,9 13,9 rectangle 2,12 5,12 rectangle 7,12 13,12 stroke black line 6,2 6,13"
  # 4 folder
  "${_folder}"
  # 5 kept for the separators
  ""
  # 6 page
  "${_page} fill none stroke #808080 line 5,4 10,4 line 5,7 10,7 line 5,10 10,10"
  # 7 find
  "fill #D0E8FF stroke black circle 6,6 6,10 stroke-width 2 line 9,9 14,14"
  # 8 delete
  "stroke #C00000 stroke-width 3 line 3,3 12,12 line 12,3 3,12"
  # 9 properties
  "${_page} fill #1F4FB0 stroke none rectangle 5,4 10,5 rectangle 5,8 10,9"
  # 10 refresh
  "fill none stroke #008000 stroke-width 2 arc 2,2 13,13 30,300 fill #008000 stroke none polygon 10,1 15,5 10,7"
  # 11 up one level
  "${_folder} fill black stroke none polygon 8,6 4,10 7,10 7,12 9,12 9,10 12,10"
  # 12 recover
  "${_page} fill #00A000 stroke #005000 polygon 1,8 6,3 6,6 11,6 11,10 6,10 6,13"
  # 13 stop
  "fill #D01010 stroke #600000 polygon 5,1 10,1 14,5 14,10 10,14 5,14 1,10 1,5 fill white stroke none rectangle 4,7 11,8"
)

set(parts)
set(index 0)
foreach(primitives IN LISTS images)
  set(part ${OUT}/toolbar-${index}.png)
  set(drawing)
  if(primitives)
    set(drawing -draw "${primitives}")
  endif()
  execute_process(COMMAND ${CONVERT} -size 16x16 "xc:#FF00FF" +antialias ${drawing} ${part} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "drawing tool-bar image ${index} failed")
  endif()
  list(APPEND parts ${part})
  math(EXPR index "${index} + 1")
endforeach()
execute_process(COMMAND ${CONVERT} ${parts} +append -type TrueColor BMP3:${OUT}/ToolBar.bmp RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "joining the tool-bar strip failed")
endif()

# The program icon: a sheet coming back out of a recycle bin.
execute_process(
  COMMAND ${CONVERT} -size 32x32 xc:none
    -fill white -stroke black -draw "polygon 9,2 21,2 25,6 25,20 9,20"
    -stroke "#808080" -draw "line 12,7 21,7" -draw "line 12,11 21,11" -draw "line 12,15 19,15"
    -fill "#1F4FB0" -stroke "#0A2A70" -draw "polygon 4,16 28,16 25,31 7,31"
    -fill "#3F6FD0" -stroke none -draw "rectangle 4,16 28,18"
    -fill "#00B000" -stroke "#005000" -draw "polygon 16,8 22,14 18,14 18,22 14,22 14,14 10,14"
    ${OUT}/icon-32.png
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "drawing the icon failed")
endif()
execute_process(COMMAND ${CONVERT} ${OUT}/icon-32.png "(" +clone -resize 16x16 ")" ${OUT}/Retrove.ico
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "writing the icon failed")
endif()
