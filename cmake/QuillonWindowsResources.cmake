# The resources of quillon.exe, made at build time from the project's own sources: every
# picture of res/artwork as an 8-bit bitmap at the size its SVG gives, the program icon in the
# sizes Windows asks for, the manifest and the version (from PROJECT_VERSION), all compiled
# into the executable with windres. The artwork number is the last part of each SVG's name
# (banner_141.svg is bitmap 141), so the Qt windows and these read one set of files.
#
# Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert on the build machine.

find_program(QUILLON_RSVG_CONVERT rsvg-convert)
find_program(QUILLON_IMAGEMAGICK_CONVERT convert)
if(NOT QUILLON_RSVG_CONVERT OR NOT QUILLON_IMAGEMAGICK_CONVERT)
  message(FATAL_ERROR "The Windows program's pictures need rsvg-convert (Debian package "
                      "librsvg2-bin) and convert (imagemagick)")
endif()

# Adds the resources to `target`.
function(quillon_windows_resources target)
  set(QUILLON_APP_ICON_NUMBER 128)
  set(QUILLON_ICON_SIZES 16 20 24 32 40 48 64 256)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/resources)
  set(art ${PROJECT_SOURCE_DIR}/res/artwork)
  file(MAKE_DIRECTORY ${out})
  file(GLOB svgs CONFIGURE_DEPENDS ${art}/*.svg)
  set(made)
  set(bitmap_lines)
  foreach(svg IN LISTS svgs)
    if(NOT svg MATCHES "_([0-9]+)\\.svg$")
      message(FATAL_ERROR "${svg}: the artwork's name must end in its number")
    endif()
    set(number ${CMAKE_MATCH_1})
    if(number EQUAL QUILLON_APP_ICON_NUMBER)
      set(icon_svg ${svg})
      continue()
    endif()
    set(bmp ${out}/${number}.bmp)
    add_custom_command(OUTPUT ${bmp}
      COMMAND ${QUILLON_RSVG_CONVERT} --format png --output ${out}/${number}.png ${svg}
      # 8-bit palette, as the pictures have always been; no dithering on the flat colours.
      COMMAND ${QUILLON_IMAGEMAGICK_CONVERT} ${out}/${number}.png +dither -colors 256
              -type Palette BMP3:${bmp}
      DEPENDS ${svg}
      COMMENT "Picture ${number} from ${svg}"
      VERBATIM)
    list(APPEND made ${bmp})
    string(APPEND bitmap_lines "${number} BITMAP \"${bmp}\"\n")
  endforeach()
  if(NOT icon_svg)
    message(FATAL_ERROR "${art} holds no program icon (number ${QUILLON_APP_ICON_NUMBER})")
  endif()

  set(icon ${out}/quillon.ico)
  set(icon_pngs)
  set(render_icon)
  foreach(size IN LISTS QUILLON_ICON_SIZES)
    list(APPEND icon_pngs ${out}/icon-${size}.png)
    list(APPEND render_icon COMMAND ${QUILLON_RSVG_CONVERT} --format png --width ${size}
         --height ${size} --output ${out}/icon-${size}.png ${icon_svg})
  endforeach()
  add_custom_command(OUTPUT ${icon}
    ${render_icon}
    COMMAND ${QUILLON_IMAGEMAGICK_CONVERT} ${icon_pngs} ${icon}
    DEPENDS ${icon_svg}
    COMMENT "Program icon from ${icon_svg}"
    VERBATIM)
  list(APPEND made ${icon})

  set(QUILLON_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
  set(QUILLON_RC_MANIFEST ${out}/quillon.manifest)
  set(QUILLON_RC_ICON ${icon})
  set(QUILLON_RC_BITMAPS "${bitmap_lines}")
  configure_file(${PROJECT_SOURCE_DIR}/res/quillon.manifest.in ${QUILLON_RC_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/res/quillon.rc.in ${out}/quillon.rc @ONLY)
  list(APPEND made ${QUILLON_RC_MANIFEST})

  # windres reads the files the script names; the build must make them first.
  add_custom_target(${target}_resources DEPENDS ${made})
  add_dependencies(${target} ${target}_resources)
  set_source_files_properties(${out}/quillon.rc PROPERTIES OBJECT_DEPENDS "${made}")
  target_sources(${target} PRIVATE ${out}/quillon.rc)
endfunction()
