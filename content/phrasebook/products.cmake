# Where the build's subject files go, for the folders that make or test them. The folder names are the
# interface texts 10 and 11 of the template database in the product's interface language.

set(_parlanta_products
    prlspa spa English  prlfre fre English  prlger ger English  prlita ita English
    prleng eng Spanish  prlfra fra Spanish  prlale ale Spanish  prlito ito Spanish)

# parlanta_product(code): sets PRODUCT_EXTENSION, PRODUCT_INTERFACE (English or Spanish),
# PRODUCT_SUBJECTS_FOLDER, PRODUCT_VIRTUAL_FOLDER, PRODUCT_EXAMPLES_NAME (virtual file name without .v<ext>)
# and PRODUCT_OTHER_EXTENSIONS in the caller's scope.
function(parlanta_product code)
    list(LENGTH _parlanta_products n)
    set(found "")
    set(others "")
    math(EXPR last "${n} - 1")
    foreach(i RANGE 0 ${last} 3)
        math(EXPR e "${i} + 1")
        math(EXPR l "${i} + 2")
        list(GET _parlanta_products ${i} c)
        list(GET _parlanta_products ${e} ext)
        list(GET _parlanta_products ${l} language)
        if(c STREQUAL code)
            set(found ${ext})
            set(interface ${language})
        else()
            list(APPEND others ${ext})
        endif()
    endforeach()
    if(NOT found)
        message(FATAL_ERROR "PARLANTA_PROGRAM_CODE \"${code}\" is none of the eight program codes")
    endif()
    set(PRODUCT_EXTENSION ${found} PARENT_SCOPE)
    set(PRODUCT_INTERFACE ${interface} PARENT_SCOPE)
    set(PRODUCT_OTHER_EXTENSIONS ${others} PARENT_SCOPE)
    if(interface STREQUAL "English")
        set(PRODUCT_SUBJECTS_FOLDER "Subjects" PARENT_SCOPE)
        set(PRODUCT_VIRTUAL_FOLDER "My Subjects" PARENT_SCOPE)
        set(PRODUCT_EXAMPLES_NAME "Examples" PARENT_SCOPE)
    else()
        set(PRODUCT_SUBJECTS_FOLDER "Temas" PARENT_SCOPE)
        set(PRODUCT_VIRTUAL_FOLDER "Mis temas" PARENT_SCOPE)
        set(PRODUCT_EXAMPLES_NAME "Ejemplos" PARENT_SCOPE)
    endif()
endfunction()

# parlanta_phrasebook_sources(var): the phrasebook's subject files; adding one re-runs the configuration.
function(parlanta_phrasebook_sources var)
    file(GLOB books CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/phrasebook/subjects/*.tsv)
    list(SORT books)
    set(${var} ${books} PARENT_SCOPE)
endfunction()

# parlanta_remove_empty_folders(folder...): removes the folders of the program folder that are left empty.
function(parlanta_remove_empty_folders)
    foreach(folder ${ARGN})
        if(IS_DIRECTORY "${PARLANTA_STAGE}/${folder}")
            file(GLOB left "${PARLANTA_STAGE}/${folder}/*")
            if(NOT left)
                file(REMOVE_RECURSE "${PARLANTA_STAGE}/${folder}")
            endif()
        endif()
    endforeach()
endfunction()
