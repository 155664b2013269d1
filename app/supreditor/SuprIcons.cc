#include "app/supreditor/SuprIcons.h"

#include "app/icons/supr_check.xpm"
#include "app/icons/supr_down.xpm"
#include "app/icons/supr_down_dis.xpm"
#include "app/icons/supr_new.xpm"
#include "app/icons/supr_new_dis.xpm"
#include "app/icons/supr_none.xpm"
#include "app/icons/supr_off.xpm"
#include "app/icons/supr_on.xpm"
#include "app/icons/supr_save.xpm"
#include "app/icons/supr_save_dis.xpm"
#include "app/icons/supr_up.xpm"
#include "app/icons/supr_up_dis.xpm"

static char** data(const char** xpm) { return const_cast<char**>(xpm); }

namespace SuprIcons {
char** create() { return data(supr_new_xpm); }
char** createDisabled() { return data(supr_new_dis_xpm); }
char** up() { return data(supr_up_xpm); }
char** upDisabled() { return data(supr_up_dis_xpm); }
char** down() { return data(supr_down_xpm); }
char** downDisabled() { return data(supr_down_dis_xpm); }
char** save() { return data(supr_save_xpm); }
char** saveDisabled() { return data(supr_save_dis_xpm); }
char** suppress() { return data(supr_on_xpm); }
char** unsuppress() { return data(supr_off_xpm); }
char** check() { return data(supr_check_xpm); }
char** none() { return data(supr_none_xpm); }
}  // namespace SuprIcons
