# Warnings on and clean everywhere; sanitizers one switch away.
function(vg_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(VG_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

if(VG_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(VG_FUZZ)
    # Coverage for the fuzzer over the whole library, not only the target's own file.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
