# Renders an SVG picture into a 24-bit BMP of the given size on a white ground.
# Run as cmake -DSVG=<in> -DBMP=<out> -DWIDTH=<w> -DHEIGHT=<h> -P.
execute_process(
  COMMAND rsvg-convert -w ${WIDTH} -h ${HEIGHT} -b white ${SVG}
  COMMAND pngtopnm -quiet
  COMMAND ppmtobmp -quiet -bpp 24
  OUTPUT_FILE ${BMP}
  RESULTS_VARIABLE results)
foreach(r IN LISTS results)
  if(NOT r EQUAL 0)
    file(REMOVE ${BMP})
    message(FATAL_ERROR "cannot render ${SVG}: ${results}")
  endif()
endforeach()
