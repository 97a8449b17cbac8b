/* Modèle d'essai : maître */
#define CarRet 0
void Afficher(void)
{
	//ICI
}
