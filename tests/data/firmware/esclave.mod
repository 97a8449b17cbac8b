/* Modèle d'essai : esclave */
#define CarRet 0
void Afficher(void)
{
	//ICI
}
