# Strict warnings for every target of the project; errors when QUILLON_WERROR is on (CI).
add_compile_options(-Wall -Wextra -Wshadow -Wpedantic -Wconversion
                    -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
                    -Wformat=2 -Wimplicit-fallthrough)
if(QUILLON_WERROR)
  add_compile_options(-Werror)
endif()
