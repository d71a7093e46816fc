# Warnings are errors in everything we build ourselves.
add_compile_options(-Wall -Wextra -Wpedantic -Werror)
