set(VELMORA_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
target_compile_options(velmora_core PRIVATE ${VELMORA_SANITIZE} -g)
target_link_options(velmora_core PUBLIC ${VELMORA_SANITIZE})
