# What the desktop and the software centre say of each product. The names are the products' own (see
# common/product.cpp); the language learnt is named in English and in Spanish.
set(_product_texts_prlspa "Parlanta Spanish;Spanish;español")
set(_product_texts_prlfre "Parlanta French;French;francés")
set(_product_texts_prlger "Parlanta German;German;alemán")
set(_product_texts_prlita "Parlanta Italian;Italian;italiano")
set(_product_texts_prleng "Parlanta Inglés;English;inglés")
set(_product_texts_prlfra "Parlanta Francés;French;francés")
set(_product_texts_prlale "Parlanta Alemán;German;alemán")
set(_product_texts_prlito "Parlanta Italiano;Italian;italiano")

# parlanta_product_texts(code): PRODUCT_NAME, PRODUCT_LANGUAGE and PRODUCT_LANGUAGE_ES in the caller's scope.
function(parlanta_product_texts code)
    list(GET _product_texts_${code} 0 name)
    list(GET _product_texts_${code} 1 language)
    list(GET _product_texts_${code} 2 language_es)
    set(PRODUCT_NAME "${name}" PARENT_SCOPE)
    set(PRODUCT_LANGUAGE "${language}" PARENT_SCOPE)
    set(PRODUCT_LANGUAGE_ES "${language_es}" PARENT_SCOPE)
endfunction()
