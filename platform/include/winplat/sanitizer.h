/* Whether this translation unit is built with AddressSanitizer: g++ says so with a macro, clang 14
 * only through __has_feature. Code that poisons spare room or checks what the sanitizer caps asks
 * here, so both compilers' sanitizer builds do the same. */
#ifndef WINPLAT_SANITIZER_H
#define WINPLAT_SANITIZER_H

#if defined(__SANITIZE_ADDRESS__)
#define WINPLAT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WINPLAT_ADDRESS_SANITIZER 1
#endif
#endif

#endif
