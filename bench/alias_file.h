#pragma once
// An aliases.xml of |count| aliases, about 250 bytes each like the large files
// measured in the field, with CRLF line ends.
#include <cstdio>
#include <string>

inline std::string AliasFileText(int count) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n";
    if (count == 0) return text + "<aliases />\r\n";
    text += "<aliases>\r\n";
    char line[512];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof(line),
                      "    <alias alias=\"alias%06d\" cmd=\"C:\\Program Files\\Some Vendor\\Some Product %06d\\"
                      "bin\\tool.exe --profile &quot;$param&quot; --working-directory C:\\Users\\Someone\\Documents"
                      "\\Projects\\%06d --log C:\\Temp\\tool-%06d.log --verbose\" />\r\n",
                      i, i, i, i);
        text += line;
    }
    return text + "</aliases>\r\n";
}
