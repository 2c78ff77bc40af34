# Copies the shipped language files and flags from SOURCE into the folder TARGET, leaving
# every file TARGET already has as it is: a translation the user edited or added stays.
# Run with: cmake -DSOURCE=<folder> -DTARGET=<folder> -P SeedLanguages.cmake
file(GLOB shipped RELATIVE "${SOURCE}" "${SOURCE}/*")
file(MAKE_DIRECTORY "${TARGET}")
foreach(name IN LISTS shipped)
  if(NOT EXISTS "${TARGET}/${name}")
    file(COPY "${SOURCE}/${name}" DESTINATION "${TARGET}")
  endif()
endforeach()
