#include "printing/comma_field.h"

char* NextCommaField(char*& cursor)
{
    if (!cursor)
        return nullptr;
    while (*cursor == ' ')
        ++cursor;
    char* field = cursor;
    while (*cursor != '\0' && *cursor != ',')
        ++cursor;
    if (*cursor == ',') {
        *cursor = '\0';
        ++cursor;
    }
    return field;
}
