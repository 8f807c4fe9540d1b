#pragma once

// Named character references: "apos" and the named entities of HTML 4, which the class decodes
// wherever text or attribute values hold "&name;".

#include <cstddef>
#include <string_view>

// Code point of a named character reference (the name without "&" and ";"), 0 when unknown.
// Letter case is not significant, except that of two names differing only in case (such as
// "Omega" and "omega", or "rArr" and "rarr") a reference spelled exactly as one of them decodes
// to that one and any other spelling decodes to the one with the capital letter.
char32_t LookupEntity(std::u16string_view name);

std::size_t EntityTableSize();    // 253
std::size_t EntityBucketCount();  // 130
