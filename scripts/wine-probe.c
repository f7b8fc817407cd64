/* Started by scripts/machine to learn whether Wine runs programs of this
   bitness here: it must print its own target's name and end normally. */
#include <stdio.h>

int main(void)
{
    printf("wine-probe %s\n", sizeof(void *) == 4 ? "win32" : "win64");
    return 0;
}
