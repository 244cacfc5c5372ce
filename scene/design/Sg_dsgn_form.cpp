#include "scene/design/Sg_dsgn_form.h"

#include "platform/ui/FormLayout.h"

void sgReadDesignForm(TForm& form, const std::string& name) {
    ReadFormLayoutResource(form, name);
}

std::function<TModalResult(TForm&)>& sgDesignShowModal() {
    static std::function<TModalResult(TForm&)> show = [](TForm& form) { return form.ShowModal(); };
    return show;
}
