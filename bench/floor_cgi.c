/* Floor of the benchmarks: a CGI program that does nothing but print the
 * header and the 17002 envelope, byte for byte as the API programs print it. */
#include <stdio.h>

int main(void)
{
    fputs("Content-Type: application/json\r\n\r\n"
          "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t17002,\n\t\t\"respMsg\":\t\"Unsupported Feature\",\n"
          "\t\t\"status\":\t\"fail\"\n\t}\n}",
          stdout);
    return 0;
}
